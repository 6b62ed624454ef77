// SPDX-License-Identifier: MIT
// Group 25, FileSystem: existence tests, deletion, creation, listing and renaming of files and
// directories, all through the host's file services, which keep every path inside the
// application's directory.
#include "IO/Stream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachine/natives/FileNativeSupport.h"

#include <vector>

namespace zelmo {

namespace {

// A new array of string values holding `names`, in their order.
uint32_t newStringArray(VirtualMachine& vm, const std::vector<std::u16string>& names)
{
    const uint32_t array = vm.newArrayObject(4, static_cast<int32_t>(names.size()), true);
    const uint32_t vector = vm.loadWord(array);
    const uint32_t data = vm.loadWord(vector + VectorLayout::kData);
    for (size_t i = 0; i < names.size(); ++i)
        vm.storeWord(data + static_cast<uint32_t>(4 * i), vm.newString(OString(names[i])));
    return array;
}

std::u16string requiredPath(VirtualMachine& vm, int k, const char* emptyMessage)
{
    std::u16string path = FileNatives::stringArg(vm, k);
    if (path.empty()) throwError(kInvalidArgument, emptyMessage);
    return path;
}

void succeedOrFail(bool done)
{
    if (!done) throwError(kIO);
}

} // namespace

void VirtualMachine::fileSystemNative(int operation)
{
    switch (operation) {
    case 1:   // fileExists(path)
    case 2: { // directoryExists(path)
        const std::u16string path = FileNatives::stringArg(*this, 0);
        bool exists = false;
        if (!path.empty())
            exists = operation == 1 ? requireHost().fileExists(path)
                                    : requireHost().directoryExists(path);
        arg(0) = exists ? -1 : 0;
        return;
    }
    case 3: // deleteFile(path)
        succeedOrFail(requireHost().deleteFile(requiredPath(*this, 0, "Path is empty")));
        popWords(1);
        return;
    case 4: // deleteDirectory(path)
        succeedOrFail(requireHost().deleteDirectory(requiredPath(*this, 0, "Path is empty")));
        popWords(1);
        return;
    case 5:   // listDirectories(path)
    case 6: { // listFiles(path)
        std::vector<std::u16string> files, directories;
        succeedOrFail(
            requireHost().listDirectory(FileNatives::stringArg(*this, 0), files, directories, 1));
        arg(0) = static_cast<int32_t>(newStringArray(*this, operation == 5 ? directories : files));
        return;
    }
    case 7: { // createFile(path): an empty file
        auto stream = requireHost().openFileWriter(requiredPath(*this, 0, "Path is empty"), 1);
        succeedOrFail(stream && stream->closeChecked());
        popWords(1);
        return;
    }
    case 8: // createDirectory(path)
        succeedOrFail(requireHost().createDirectory(requiredPath(*this, 0, "Path is empty")));
        popWords(1);
        return;
    case 9: { // renameFile(source, target)
        const std::u16string source = requiredPath(*this, 1, "Source filename is empty");
        const std::u16string target = requiredPath(*this, 0, "Target filename is empty");
        succeedOrFail(requireHost().renameFile(source, target));
        popWords(2);
        return;
    }
    case 10: { // renameDirectory(source, target)
        const std::u16string source = requiredPath(*this, 1, "Source path is empty");
        const std::u16string target = requiredPath(*this, 0, "Target path is empty");
        succeedOrFail(requireHost().renameDirectory(source, target));
        popWords(2);
        return;
    }
    default:
        unknownOperation("FileSystem:");
    }
}

} // namespace zelmo
