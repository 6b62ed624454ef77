// SPDX-License-Identifier: MIT
// Group 31, Screen: the screen's size and orientation, repaint requests and the objects the
// screen draws, all through the host services, so that they work with a window and without.
#include "graphics/natives/DrawingNatives.h"
#include "graphics/natives/DrawingOperands.h"

namespace zelmo::graphics {

namespace {

// A screen object must be a live heap entry: rooting anything else would break collections.
uint32_t screenObject(VirtualMachine& vm, uint32_t object)
{
    if (object != 0 && !vm.heap().isLiveHandle(object))
        throwError(kVMException, "Invalid heap reference");
    return object;
}

} // namespace

void screenNative(VirtualMachine& vm, int operation)
{
    FrameworkServices& host = vm.requireHost();
    switch (operation) {
    case 1: { // repaint: everything
        int32_t width = 0, height = 0;
        host.getScreenSize(width, height);
        host.invalidate(0, 0, width, height);
        return;
    }
    case 2: { // size: pushes width, then height
        int32_t width = 0, height = 0;
        host.getScreenSize(width, height);
        vm.pushWord(width);
        vm.pushWord(height);
        return;
    }
    case 3: { // setOrientation(orientation)
        DrawingOperands op(vm, 1);
        host.setOrientation(op.integer(0));
        return op.finish();
    }
    case 4: // orientation
        return vm.pushWord(host.getOrientation());
    case 5: { // setFlag(flag)
        DrawingOperands op(vm, 1);
        host.setScreenFlag(op.integer(0) != 0);
        return op.finish();
    }
    case 6: { // invalidate(x, y, width, height)
        DrawingOperands op(vm, 4);
        const GuestRect r = op.rectangle(0);
        host.invalidate(r.x, r.y, r.width, r.height);
        return op.finish();
    }
    case 7: { // registerObject(reference): kept alive while the screen holds it
        DrawingOperands op(vm, 1);
        const uint32_t object = screenObject(vm, static_cast<uint32_t>(op.integer(0)));
        host.registerScreenObject(object);
        if (object != 0) vm.heap().addRoot(object);
        return op.finish();
    }
    case 8: { // unregisterObject(reference)
        DrawingOperands op(vm, 1);
        const uint32_t object = screenObject(vm, static_cast<uint32_t>(op.integer(0)));
        host.unregisterScreenObject(object);
        if (object != 0) vm.heap().removeRoot(object);
        return op.finish();
    }
    default:
        vm.unknownOperation("Screen:");
    }
}

} // namespace zelmo::graphics
