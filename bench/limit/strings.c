// bench/strings/strings.asm in C: 2,000,000 letters appended one at a time to a growing
// buffer, one letter counted, then the decimal text of 0..199,999 appended.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Text {
    char* data;
    size_t length, capacity;
};

static void append(struct Text* t, const char* s, size_t n)
{
    if (t->length + n > t->capacity) {
        t->capacity = (t->length + n) * 2;
        t->data = realloc(t->data, t->capacity);
        if (!t->data) exit(1);
    }
    memcpy(t->data + t->length, s, n);
    t->length += n;
}

int main(void)
{
    struct Text text = {0};
    for (int i = 0; i < 2000000; ++i) {
        const char c = (char)('a' + i % 26);
        append(&text, &c, 1);
    }
    printf("%zu\n", text.length);
    int count = 0;
    for (size_t i = 0; i < text.length; ++i)
        count += text.data[i] == 'e';
    printf("%d\n", count);
    struct Text numbers = {0};
    char digits[16];
    for (int i = 0; i < 200000; ++i)
        append(&numbers, digits, (size_t)snprintf(digits, sizeof digits, "%d", i));
    printf("%zu\n", numbers.length);
    free(text.data);
    free(numbers.data);
    return 0;
}
