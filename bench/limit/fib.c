// fib(32), recursive: the C limit for bench/vm/fib.asm.
#include <stdio.h>

static int fib(int n)
{
    return n < 2 ? n : fib(n - 1) + fib(n - 2);
}

int main(void)
{
    volatile int n = 32;
    printf("%d\n", fib(n));
    return 0;
}
