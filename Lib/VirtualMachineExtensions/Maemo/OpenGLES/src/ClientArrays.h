// SPDX-License-Identifier: MIT
// Vertex attributes that read from application arrays rather than GL buffers. GL keeps the
// pointer it is given and reads through it only when drawing, by which time the array may have
// grown into new storage, been replaced in its variable, or been collected. So the bindings
// never let GL keep a pointer across guest code: each attribute remembers its array (and roots
// it), and every draw first checks that each enabled array attribute's current storage covers
// the highest vertex drawn, then points GL at that storage.
#pragma once

#include <QOpenGLFunctions>
#include <cstdint>
#include <map>

namespace zelmo {
class VirtualMachine;
}

namespace zelmo::gles {

class ClientArrays {
public:
    explicit ClientArrays(VirtualMachine& vm) : m_vm(vm) {}
    ~ClientArrays();
    ClientArrays(const ClientArrays&) = delete;
    ClientArrays& operator=(const ClientArrays&) = delete;

    // Attribute `index` now reads `arrayWord` (its arguments already valid for GL).
    void point(uint32_t index, uint32_t arrayWord, int32_t size, uint32_t type, uint32_t typeBytes,
               GLboolean normalized, int32_t stride);
    // Attribute `index` no longer reads an application array.
    void forget(uint32_t index);

    // Whether an enabled attribute reads an application array (or would read a null pointer).
    bool anyEnabled(QOpenGLFunctions& gl) const;
    // Before a draw that reads vertices up to `highestVertex`: every enabled attribute without
    // a buffer must have an array covering that vertex (else IndexOutOfBoundsException, or
    // InvalidArgumentException when it has none), and GL is pointed at each array's storage.
    void prepareDraw(QOpenGLFunctions& gl, int64_t highestVertex, const char* glName);

private:
    struct Record {
        uint32_t arrayWord;
        uint32_t root; // the heap entry holding the array value, rooted; 0: none
        int32_t size;
        uint32_t type;
        uint32_t typeBytes;
        GLboolean normalized;
        int32_t stride;
    };
    // Enabled attributes that GL would read through a client pointer.
    std::vector<uint32_t> enabledClientAttributes(QOpenGLFunctions& gl) const;
    void release(const Record& record);

    VirtualMachine& m_vm;
    std::map<uint32_t, Record> m_records;
};

} // namespace zelmo::gles
