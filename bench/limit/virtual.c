// 50 million calls through a function pointer chosen by the receiver: bench/vm/virtual.asm.
#include <stdio.h>

struct Shape {
    int (*area)(const struct Shape*);
};
static int areaA(const struct Shape* s) { (void)s; return 1; }
static int areaB(const struct Shape* s) { (void)s; return 2; }
static int areaC(const struct Shape* s) { (void)s; return 3; }

int main(void)
{
    struct Shape a = {areaA}, b = {areaB}, c = {areaC};
    struct Shape* volatile objs[3] = {&a, &b, &c};
    unsigned sum = 0;
    for (int i = 50000000; i > 0; --i) {
        const struct Shape* s = objs[i % 3];
        sum += s->area(s);
    }
    printf("%d\n", (int)sum);
    return 0;
}
