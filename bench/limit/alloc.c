// bench/vm/alloc.asm in C: 20 million small objects in a ring of 1,000, each evicted one freed.
#include <stdio.h>
#include <stdlib.h>

struct Small {
    int words[2];
};

int main(void)
{
    static struct Small* ring[1000];
    int index = 0;
    for (int i = 0; i < 20000000; ++i) {
        free(ring[index]);
        ring[index] = malloc(sizeof(struct Small));
        if (!ring[index]) return 1;
        ring[index]->words[0] = i;
        index = (index + 1) % 1000;
    }
    for (int k = 0; k < 1000; ++k)
        free(ring[k]);
    printf("allocated 20000000\n");
    return 0;
}
