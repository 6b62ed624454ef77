// SPDX-License-Identifier: MIT
// LinkedList: a doubly linked list whose nodes come either from the general allocator or from
// a ListNodePool, a block pool of 256-node blocks that the heap's free lists share so that
// free-list traffic never reaches malloc. Pool nodes carry their own 1-based index, which lets
// a 32-bit word in guest memory name a node and the pool check that name before trusting it.
#pragma once

#include "Base/Errors.h"
#include "Containers/Vec.h"

#include <cstdint>
#include <memory>

namespace zelmo {

template <class T> struct ListEntry {
    uint32_t index = 0; // 1-based position in its pool; 0 for a node of the general allocator
    bool inUse = false; // pool nodes: handed out and not yet given back
    ListEntry* previous = nullptr;
    T value{};
    ListEntry* next = nullptr;
};

// Free nodes are chained through their `next` pointers, most recently given back first, so
// take() and give() are a few loads and stores each and never allocate once reserved.
template <class T> class ListNodePool {
public:
    static constexpr int kBlockNodes = 256;

    ListNodePool() = default;
    ListNodePool(const ListNodePool&) = delete;
    ListNodePool& operator=(const ListNodePool&) = delete;
    ~ListNodePool()
    {
        for (ListEntry<T>* block : m_blocks)
            delete[] block;
    }

    ListEntry<T>* take()
    {
        if (!m_free) [[unlikely]]
            addBlock();
        ListEntry<T>* node = m_free;
        m_free = node->next;
        --m_freeNodes;
        node->inUse = true;
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
        node->inUse = false;
        node->previous = nullptr;
        node->next = m_free;
        m_free = node;
        ++m_freeNodes;
    }

    // Makes sure the next `count` takes cannot fail, so that a caller can take nodes in the
    // middle of an update that must not be left half done.
    void reserve(int count)
    {
        while (m_freeNodes < count)
            [[unlikely]] addBlock();
    }

    // The node with this index while it is handed out; null for any other number.
    ListEntry<T>* node(uint32_t index) const
    {
        const uint32_t position = index - 1; // index 0 wraps around and fails the range check
        if (position >= m_capacity) return nullptr;
        ListEntry<T>* node = &m_blocks.data()[position / kBlockNodes][position % kBlockNodes];
        return node->inUse ? node : nullptr;
    }

    int blockCount() const { return m_blocks.size(); }

private:
    void addBlock()
    {
        const int b = m_blocks.size();
        if (int64_t{b + 1} * kBlockNodes > INT32_MAX) throwError(kInvalidArgument);
        // Geometric growth: reserving one more each time would copy the table at every block.
        if (b == m_blocks.capacity()) m_blocks.reserve(b + b / 2 + 8);
        std::unique_ptr<ListEntry<T>[]> nodes(new ListEntry<T>[kBlockNodes]);
        // Lowest slot first in the chain, so a fresh block hands out nodes in address order.
        for (int slot = 0; slot < kBlockNodes; ++slot) {
            nodes[slot].index = static_cast<uint32_t>(b * kBlockNodes + slot + 1);
            nodes[slot].next = slot + 1 < kBlockNodes ? &nodes[slot + 1] : m_free;
        }
        // Nothing below can fail: m_blocks has room already.
        m_free = nodes.get();
        m_blocks.append(nodes.release());
        m_capacity += kBlockNodes;
        m_freeNodes += kBlockNodes;
    }

    Vec<ListEntry<T>*> m_blocks;
    ListEntry<T>* m_free = nullptr; // head of the chain of free nodes
    uint32_t m_capacity = 0;        // nodes in all blocks
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
        ListEntry<T>* after = node ? node->next : nullptr;
        deleteNode(unlink(node));
        return Iterator(after);
    }

    // Moves the node at `position` to the end of `other`, node and all (a pool node keeps its
    // index). Both lists must take their nodes from the same place.
    void moveToEnd(Iterator position, LinkedList& other)
    {
        if (other.m_pool != m_pool) [[unlikely]]
            throwError(kInvalidArgument);
        ListEntry<T>* node = unlink(position.node());
        node->previous = other.m_tail;
        (other.m_tail ? other.m_tail->next : other.m_head) = node;
        other.m_tail = node;
        ++other.m_count;
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
    // Takes the node out of this list (it must belong to it) and returns it, still allocated.
    ListEntry<T>* unlink(ListEntry<T>* node)
    {
        if (!node || (!node->previous && node != m_head) || (!node->next && node != m_tail))
            [[unlikely]]
            throwError(kInvalidArgument);
        ListEntry<T>* after = node->next;
        (node->previous ? node->previous->next : m_head) = after;
        (after ? after->previous : m_tail) = node->previous;
        --m_count;
        node->previous = node->next = nullptr;
        return node;
    }
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
