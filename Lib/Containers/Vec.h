// SPDX-License-Identifier: MIT
// Vec: the growable array the runtime uses for its own bookkeeping (names, paths, pool lists,
// node-pool blocks). It grows to size * 5 / 4 + 8 elements when full, checks every index and
// reports misuse as the managed InvalidArgumentException, so a bad count that came from an
// image ends the operation instead of corrupting host memory.
#pragma once

#include "Base/Errors.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace zelmo {

// Where a Vec takes its element blocks from when the general allocator is not wanted.
class VecAllocator {
public:
    virtual ~VecAllocator() = default;
    // Returns `bytes` bytes suitably aligned for any element type, or null when it cannot.
    virtual void* allocate(size_t bytes) = 0;
    virtual void free(void* block) = 0;
};

template <class T> class Vec {
public:
    explicit Vec(VecAllocator* allocator = nullptr) : m_allocator(allocator) {}
    // `count` copies of `fill`.
    explicit Vec(int count, const T& fill = T(), VecAllocator* allocator = nullptr)
        : m_allocator(allocator)
    {
        resize(count, fill);
    }
    Vec(const Vec& other) : m_allocator(other.m_allocator)
    {
        reserve(other.m_size);
        std::uninitialized_copy_n(other.m_data, other.m_size, m_data);
        m_size = other.m_size;
    }
    Vec(Vec&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)),
          m_capacity(std::exchange(other.m_capacity, 0)), m_size(std::exchange(other.m_size, 0)),
          m_allocator(other.m_allocator)
    {
    }
    Vec& operator=(const Vec& other)
    {
        if (this != &other) {
            Vec copy(other);
            swap(copy);
        }
        return *this;
    }
    Vec& operator=(Vec&& other) noexcept
    {
        Vec moved(std::move(other));
        swap(moved);
        return *this;
    }
    virtual ~Vec()
    {
        std::destroy_n(m_data, m_size);
        freeBlock(m_data);
    }

    void swap(Vec& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_size, other.m_size);
        std::swap(m_allocator, other.m_allocator);
    }

    int size() const { return m_size; }
    int capacity() const { return m_capacity; }
    bool isEmpty() const { return m_size == 0; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

    T& operator[](int index)
    {
        checkIndex(index);
        return m_data[index];
    }
    const T& operator[](int index) const
    {
        checkIndex(index);
        return m_data[index];
    }
    T& at(int index) { return (*this)[index]; }
    const T& at(int index) const { return (*this)[index]; }
    T& last() { return (*this)[m_size - 1]; }
    const T& last() const { return (*this)[m_size - 1]; }

    void append(const T& value)
    {
        if (m_size == m_capacity) {
            // The value may live in this vector: copy it before the old block goes away.
            T copy(value);
            grow();
            ::new (static_cast<void*>(m_data + m_size)) T(std::move(copy));
        } else {
            ::new (static_cast<void*>(m_data + m_size)) T(value);
        }
        ++m_size;
    }
    void append(T&& value)
    {
        if (m_size == m_capacity) {
            T moved(std::move(value));
            grow();
            ::new (static_cast<void*>(m_data + m_size)) T(std::move(moved));
        } else {
            ::new (static_cast<void*>(m_data + m_size)) T(std::move(value));
        }
        ++m_size;
    }

    // Inserts before `index`; index == size() appends.
    void insert(int index, const T& value)
    {
        if (index < 0 || index > m_size) throwError(kInvalidArgument);
        append(value);
        for (int i = m_size - 1; i > index; --i)
            std::swap(m_data[i], m_data[i - 1]);
    }

    void removeAt(int index)
    {
        checkIndex(index);
        for (int i = index; i + 1 < m_size; ++i)
            m_data[i] = std::move(m_data[i + 1]);
        removeLast();
    }
    void removeLast()
    {
        checkIndex(m_size - 1);
        --m_size;
        std::destroy_at(m_data + m_size);
    }
    T takeLast()
    {
        T value(std::move(last()));
        removeLast();
        return value;
    }
    void clear()
    {
        std::destroy_n(m_data, m_size);
        m_size = 0;
    }

    // Makes room for `count` elements without changing the size.
    void reserve(int count)
    {
        if (count < m_size) throwError(kInvalidArgument);
        if (count > m_capacity) reallocate(count);
    }
    void resize(int count, const T& fill = T())
    {
        if (count < 0) throwError(kInvalidArgument);
        if (count < m_size) {
            std::destroy(m_data + count, m_data + m_size);
            m_size = count;
            return;
        }
        reserve(count);
        std::uninitialized_fill(m_data + m_size, m_data + count, fill);
        m_size = count;
    }

    bool operator==(const Vec& other) const
    {
        if (m_size != other.m_size) return false;
        for (int i = 0; i < m_size; ++i) {
            if (!(m_data[i] == other.m_data[i])) return false;
        }
        return true;
    }

private:
    void checkIndex(int index) const
    {
        if (index < 0 || index >= m_size) [[unlikely]]
            throwError(kInvalidArgument);
    }

    void grow()
    {
        const int64_t wanted = int64_t{m_size} * 5 / 4 + 8;
        if (wanted > INT_MAX) throwError(kInvalidArgument);
        reallocate(static_cast<int>(wanted));
    }

    void reallocate(int count)
    {
        T* block = allocateBlock(count);
        if constexpr (std::is_nothrow_move_constructible_v<T>) {
            std::uninitialized_move_n(m_data, m_size, block);
        } else {
            try {
                std::uninitialized_copy_n(m_data, m_size, block);
            } catch (...) {
                freeBlock(block);
                throw;
            }
        }
        std::destroy_n(m_data, m_size);
        freeBlock(m_data);
        m_data = block;
        m_capacity = count;
    }

    T* allocateBlock(int count)
    {
        const uint64_t bytes = uint64_t(count) * sizeof(T);
        void* block = m_allocator
                          ? m_allocator->allocate(bytes)
                          : ::operator new (bytes, std::align_val_t{alignof(T)}, std::nothrow);
        if (!block) throwError(kInvalidArgument);
        return static_cast<T*>(block);
    }
    void freeBlock(T* block)
    {
        if (!block) return;
        if (m_allocator)
            m_allocator->free(block);
        else
            ::operator delete (block, std::align_val_t{alignof(T)});
    }

    T* m_data = nullptr;
    int m_capacity = 0;
    int m_size = 0;
    VecAllocator* m_allocator = nullptr; // null: the general allocator
};

} // namespace zelmo
