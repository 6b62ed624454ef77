// SPDX-License-Identifier: MIT
// LinkedList: a doubly linked list whose nodes come either from the general allocator or from
// a ListNodePool, a block pool of 256-node blocks that the heap's free lists share so that
// free-list traffic never reaches malloc. Pool nodes carry their own 1-based index, which lets
// a 32-bit word in guest memory name a node and the pool check that name before trusting it.
#pragma once

#include "Errors.h"
#include "Vec.h"

#include <cstdint>
#include <memory>

namespace zelmo {

template <class T> struct ListEntry {
    uint32_t index = 0; // 1-based position in its pool; 0 for a node of the general allocator
    ListEntry* previous = nullptr;
    T value{};
    ListEntry* next = nullptr;
};

template <class T> class ListNodePool {
public:
    static constexpr int kBlockNodes = 256;

    ListNodePool() = default;
    ListNodePool(const ListNodePool&) = delete;
    ListNodePool& operator=(const ListNodePool&) = delete;
    ~ListNodePool()
    {
        for (int b = 0; b < m_blocks.size(); ++b) {
            delete[] m_blocks[b];
            delete[] m_inUse[b];
            delete[] m_freeIndexes[b];
        }
    }

    ListEntry<T>* take()
    {
        if (m_blocksWithRoom.isEmpty()) addBlock();
        const int b = m_blocksWithRoom.last();
        const int slot = m_freeIndexes[b][--m_freeCounts[b]];
        if (m_freeCounts[b] == 0) m_blocksWithRoom.removeLast();
        --m_freeNodes;
        m_inUse[b][slot] = true;
        ListEntry<T>* node = &m_blocks[b][slot];
        node->previous = nullptr;
        node->next = nullptr;
        node->value = T{};
        return node;
    }

    void give(ListEntry<T>* node)
    {
        // Only nodes this pool handed out and that are still out may come back.
        if (!node || node != this->node(node->index)) [[unlikely]]
            throwError(kInvalidArgument);
        const int b = static_cast<int>((node->index - 1) / kBlockNodes);
        const int slot = static_cast<int>((node->index - 1) % kBlockNodes);
        m_inUse[b][slot] = false;
        if (m_freeCounts[b] == 0) m_blocksWithRoom.append(b);
        m_freeIndexes[b][m_freeCounts[b]++] = slot;
        ++m_freeNodes;
    }

    // Makes sure the next `count` takes cannot fail, so that a caller can take nodes in the
    // middle of an update that must not be left half done.
    void reserve(int count)
    {
        while (m_freeNodes < count)
            addBlock();
    }

    // The node with this index while it is handed out; null for any other number.
    ListEntry<T>* node(uint32_t index) const
    {
        if (index == 0) return nullptr;
        const uint32_t b = (index - 1) / kBlockNodes;
        const uint32_t slot = (index - 1) % kBlockNodes;
        if (b >= static_cast<uint32_t>(m_blocks.size()) || !m_inUse[b][slot]) return nullptr;
        return &m_blocks[b][slot];
    }

    int blockCount() const { return m_blocks.size(); }

private:
    void addBlock()
    {
        const int b = m_blocks.size();
        if (int64_t{b + 1} * kBlockNodes > INT32_MAX) throwError(kInvalidArgument);
        m_blocks.reserve(b + 1);
        m_inUse.reserve(b + 1);
        m_freeIndexes.reserve(b + 1);
        m_freeCounts.reserve(b + 1);
        m_blocksWithRoom.reserve(b + 1);
        std::unique_ptr<ListEntry<T>[]> nodes(new ListEntry<T>[kBlockNodes]);
        std::unique_ptr<bool[]> inUse(new bool[kBlockNodes]());
        std::unique_ptr<int[]> freeIndexes(new int[kBlockNodes]);
        for (int slot = 0; slot < kBlockNodes; ++slot) {
            nodes[slot].index = static_cast<uint32_t>(b * kBlockNodes + slot + 1);
            // Lowest slot on top, so nodes are handed out in address order.
            freeIndexes[slot] = kBlockNodes - 1 - slot;
        }
        // Nothing below can fail: every Vec has room already.
        m_blocks.append(nodes.release());
        m_inUse.append(inUse.release());
        m_freeIndexes.append(freeIndexes.release());
        m_freeCounts.append(kBlockNodes);
        m_blocksWithRoom.append(b);
        m_freeNodes += kBlockNodes;
    }

    Vec<ListEntry<T>*> m_blocks;
    Vec<bool*> m_inUse;
    Vec<int*> m_freeIndexes;   // per block, a stack of free slot numbers
    Vec<int> m_freeCounts;     // height of each block's stack
    Vec<int> m_blocksWithRoom; // room for every block, so give() never allocates
    int m_freeNodes = 0;
};

template <class T> class LinkedListIterator {
public:
    LinkedListIterator() = default;
    explicit LinkedListIterator(ListEntry<T>* node) : m_node(node) {}

    T& operator*() const { return m_node->value; }
    T* operator->() const { return &m_node->value; }
    LinkedListIterator& operator++()
    {
        m_node = m_node->next;
        return *this;
    }
    LinkedListIterator& operator--()
    {
        m_node = m_node->previous;
        return *this;
    }
    bool operator==(const LinkedListIterator& other) const = default;
    explicit operator bool() const { return m_node != nullptr; }
    ListEntry<T>* node() const { return m_node; }

private:
    ListEntry<T>* m_node = nullptr; // null: no position
};

template <class T> class LinkedList {
public:
    using Iterator = LinkedListIterator<T>;

    explicit LinkedList(ListNodePool<T>* pool = nullptr) : m_pool(pool) {}
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;
    ~LinkedList() { clear(); }

    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    Iterator begin() const { return Iterator(m_head); }
    Iterator end() const { return Iterator(); }
    Iterator lastPosition() const { return Iterator(m_tail); }

    T& first()
    {
        if (!m_head) throwError(kInvalidArgument);
        return m_head->value;
    }
    T& last()
    {
        if (!m_tail) throwError(kInvalidArgument);
        return m_tail->value;
    }

    Iterator append(const T& value)
    {
        ListEntry<T>* node = newNode(value);
        node->previous = m_tail;
        (m_tail ? m_tail->next : m_head) = node;
        m_tail = node;
        ++m_count;
        return Iterator(node);
    }
    Iterator prepend(const T& value)
    {
        ListEntry<T>* node = newNode(value);
        node->next = m_head;
        (m_head ? m_head->previous : m_tail) = node;
        m_head = node;
        ++m_count;
        return Iterator(node);
    }

    // Unlinks the node at `position` and returns the position after it. The node must belong
    // to this list; the null iterator is refused.
    Iterator erase(Iterator position)
    {
        ListEntry<T>* node = position.node();
        if (!node || (!node->previous && node != m_head) || (!node->next && node != m_tail))
            [[unlikely]]
            throwError(kInvalidArgument);
        ListEntry<T>* after = node->next;
        (node->previous ? node->previous->next : m_head) = after;
        (after ? after->previous : m_tail) = node->previous;
        --m_count;
        deleteNode(node);
        return Iterator(after);
    }

    T takeFirst()
    {
        T value = first();
        erase(begin());
        return value;
    }

    Iterator find(const T& value) const
    {
        for (ListEntry<T>* node = m_head; node; node = node->next) {
            if (node->value == value) return Iterator(node);
        }
        return Iterator();
    }
    bool contains(const T& value) const { return bool(find(value)); }

    void clear()
    {
        ListEntry<T>* node = m_head;
        while (node) {
            ListEntry<T>* after = node->next;
            deleteNode(node);
            node = after;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

private:
    ListEntry<T>* newNode(const T& value)
    {
        ListEntry<T>* node = m_pool ? m_pool->take() : new ListEntry<T>();
        node->value = value;
        return node;
    }
    void deleteNode(ListEntry<T>* node)
    {
        if (m_pool)
            m_pool->give(node);
        else
            delete node;
    }

    ListNodePool<T>* m_pool = nullptr; // null: nodes come from the general allocator
    int m_count = 0;
    ListEntry<T>* m_head = nullptr;
    ListEntry<T>* m_tail = nullptr;
};

} // namespace zelmo
