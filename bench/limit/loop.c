// The nested counting loop of bench/vm/loop.asm.
#include <stdio.h>

int main(void)
{
    volatile int outer = 20000, inner = 10000;
    unsigned sum = 0;
    for (int i = outer; i > 0; --i)
        for (volatile int j = inner; j > 0; --j)
            sum += j & 3;
    printf("%d\n", (int)sum);
    return 0;
}
