// bench/arrays/arrays.asm in C: 10 million ints filled by index and summed five times, then
// one million appends to a growing array.
#include <stdio.h>
#include <stdlib.h>

int main(void)
{
    const int n = 10000000;
    int* a = calloc(n, sizeof *a);
    if (!a) return 1;
    for (int i = 0; i < n; ++i)
        a[i] = i;
    unsigned sum = 0;
    for (int r = 0; r < 5; ++r)
        for (int i = 0; i < n; ++i)
            sum += (unsigned)((int* volatile)a)[i];
    size_t length = 0, capacity = 0;
    int* b = NULL;
    for (int i = 0; i < 1000000; ++i) {
        if (length == capacity) {
            capacity = capacity ? capacity * 2 : 10;
            b = realloc(b, capacity * sizeof *b);
            if (!b) return 1;
        }
        b[length++] = i;
    }
    printf("%d\n%zu\n", (int)sum, length);
    free(a);
    free(b);
    return 0;
}
