// SPDX-License-Identifier: MIT
#include "OpenGLES/ClientArrays.h"

#include "OpenGLES/GlesExtent.h"
#include "OpenGLES/GuestArguments.h"
#include "VirtualMachine/VirtualMachine.h"

#include <vector>

namespace zelmo::gles {

ClientArrays::~ClientArrays()
{
    for (const auto& [index, record] : m_records)
        release(record);
}

void ClientArrays::point(uint32_t index, uint32_t arrayWord, int32_t size, uint32_t type,
                         uint32_t typeBytes, GLboolean normalized, int32_t stride)
{
    forget(index);
    // Root the heap entry that holds the array value (an array box, or the object or globals
    // whose field it is), so that the array stays until the attribute is pointed elsewhere.
    VMHeap& heap = m_vm.heap();
    uint32_t root = 0;
    if (const HeapEntry* entry = heap.belongsToPools(arrayWord)) {
        const uint32_t handle = heap.handleOf(entry);
        if (heap.isLiveHandle(handle)) {
            heap.addRoot(handle);
            root = handle;
        }
    }
    m_records[index] = {arrayWord, root, size, type, typeBytes, normalized, stride};
}

void ClientArrays::forget(uint32_t index)
{
    const auto found = m_records.find(index);
    if (found == m_records.end()) return;
    release(found->second);
    m_records.erase(found);
}

void ClientArrays::release(const Record& record)
{
    VMHeap& heap = m_vm.heap();
    // The application may have freed the entry itself; then it is no root any more.
    if (record.root && heap.isLiveHandle(record.root) && heap.isRoot(record.root))
        heap.removeRoot(record.root);
}

std::vector<uint32_t> ClientArrays::enabledClientAttributes(QOpenGLFunctions& gl) const
{
    GLint count = 0;
    gl.glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &count);
    std::vector<uint32_t> attributes;
    for (GLint index = 0; index < count; ++index) {
        GLint enabled = 0, buffer = 0;
        gl.glGetVertexAttribiv(static_cast<GLuint>(index), GL_VERTEX_ATTRIB_ARRAY_ENABLED,
                               &enabled);
        if (!enabled) continue;
        gl.glGetVertexAttribiv(static_cast<GLuint>(index), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING,
                               &buffer);
        if (buffer == 0) attributes.push_back(static_cast<uint32_t>(index));
    }
    return attributes;
}

bool ClientArrays::anyEnabled(QOpenGLFunctions& gl) const
{
    return !enabledClientAttributes(gl).empty();
}

void ClientArrays::prepareDraw(QOpenGLFunctions& gl, int64_t highestVertex, const char* glName)
{
    struct Pointer {
        uint32_t index;
        const Record* record;
        const uint8_t* data;
    };
    std::vector<Pointer> pointers;
    // Everything is checked before GL state changes, so a refused draw leaves GL as it was.
    for (const uint32_t index : enabledClientAttributes(gl)) {
        const auto found = m_records.find(index);
        if (found == m_records.end())
            throwError(kInvalidArgument, std::string(glName) + ": attribute " +
                                             std::to_string(index) + " has no array");
        const Record& record = found->second;
        const GuestBytes bytes = resolveArray(m_vm, record.arrayWord, glName);
        requireBytes(bytes,
                     vertexArrayBytes(highestVertex, record.size, record.typeBytes, record.stride),
                     glName);
        pointers.push_back({index, &record, bytes.data});
    }
    if (pointers.empty()) return;
    GLint arrayBuffer = 0;
    gl.glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    if (arrayBuffer != 0) gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    for (const Pointer& pointer : pointers) {
        const Record& record = *pointer.record;
        gl.glVertexAttribPointer(pointer.index, record.size, record.type, record.normalized,
                                 record.stride, pointer.data);
    }
    if (arrayBuffer != 0) gl.glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
    // A GL that refused one of them (a stride above its limit) still holds an older pointer,
    // which may lead into freed storage: no draw then.
    for (const Pointer& pointer : pointers) {
        void* held = nullptr;
        gl.glGetVertexAttribPointerv(pointer.index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &held);
        if (held != pointer.data)
            throwError(kInvalidArgument, std::string(glName) + ": attribute " +
                                             std::to_string(pointer.index) +
                                             " cannot read its array");
    }
}

} // namespace zelmo::gles
