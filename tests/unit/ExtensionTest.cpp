// SPDX-License-Identifier: MIT
// The extension seam: the checked stack view a handler gets, and the host's registry (lazy
// creation with the machine, one object per id, unknown ids refused with a catchable error).
#include "ErrorCodeOf.h"
#include "FileTestSupport.h"

#include "Accelerometer/AccelerometerExtension.h"
#include "Accelerometer/AccelerometerSource.h"
#include "Accelerometer/TiltKeys.h"
#include "Location/CLocationWrapper.h"
#include "Torch/TorchExtension.h"
#include "Utility/ORaw.h"
#include "VirtualMachine/ExtensionStack.h"
#include "VirtualMachine/VirtualMachine.h"
#include "VirtualMachineExtensions/ExtensionObjects.h"
#include "host/ExtensionHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

using namespace zelmo;
using zelmo::testing::failureOf;

namespace {

// The fatal line a call prints, "none" when it returns.
template <class F> std::string fatalOf(F call)
{
    ::testing::internal::CaptureStderr();
    const std::string failure = failureOf(call);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    return failure == "none" ? failure : printed;
}

// A file of the folder holding `text`; its path.
std::string writeFile(const QTemporaryDir& folder, const char* name, const char* text)
{
    return zelmo::testing::putFile(folder.filePath(name), text).toStdString();
}

} // namespace

TEST(ExtensionStack, WordsAndFixedValuesStayInsideTheStack)
{
    VirtualMachine vm;
    vm.setSp(-1);
    ExtensionStack stack(vm);
    stack.pushWord(5);
    stack.pushFixed(int64_t{-3} * (int64_t{1} << 32) + 7); // -3 + 7 * 2^-32
    EXPECT_EQ(stack.top(), 2);
    EXPECT_EQ(vm.sp(), 2);          // the machine sees every change at once
    EXPECT_EQ(vm.stackWord(1), 7);  // low word in the lower slot
    EXPECT_EQ(vm.stackWord(2), -3); // high word on top
    EXPECT_EQ(stack.peekWord(2), 5);
    EXPECT_EQ(stack.peekFixed(), int64_t{-3} * (int64_t{1} << 32) + 7);
    EXPECT_EQ(stack.popFixed(), int64_t{-3} * (int64_t{1} << 32) + 7);
    EXPECT_EQ(stack.popWord(), 5);
    EXPECT_EQ(stack.top(), -1);

    // Below word 0 and past the end are the machine's fatal stack errors.
    EXPECT_EQ(failureOf([&] { stack.popWord(); }), "11 UnknownException (CODE:11)");
    stack.pushWord(1);
    EXPECT_EQ(failureOf([&] { stack.popFixed(); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(failureOf([&] { stack.peekWord(0xFFFFFFFFu); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(stack.top(), 0);
    vm.setSp(VirtualMachine::kStackWords - 2);
    EXPECT_EQ(failureOf([&] { stack.pushFixed(1); }), "11 UnknownException (CODE:11)");
    EXPECT_EQ(stack.top(), VirtualMachine::kStackWords - 2); // nothing half-pushed
    stack.pushWord(9);
    EXPECT_EQ(stack.peekWord(), 9);
}

TEST(ExtensionHost, MakesEachExtensionOnceAndRefusesUnknownIds)
{
    // Adds its first argument to a count it keeps, and pushes the count.
    class Adder : public Extension {
    public:
        explicit Adder(int& made) { ++made; }
        void call(int32_t, ExtensionStack& stack) override
        {
            m_total += stack.popWord();
            stack.pushWord(m_total);
        }

    private:
        int32_t m_total = 0;
    };

    VirtualMachine vm;
    ExtensionHost host;
    ExtensionStack stack(vm);
    for (const int32_t id : {0, 20, 21, 99, -1})
        EXPECT_EQ(failureOf([&] { host.call(id, 1, stack, vm); }),
                  "10 VMException: Dll not supported");

    int made = 0;
    VirtualMachine* madeWith = nullptr;
    host.registerExtension(kAccelerometerExtension, [&](VirtualMachine& machine) {
        madeWith = &machine;
        return std::make_unique<Adder>(made);
    });
    EXPECT_EQ(made, 0); // nothing is made before its first call
    vm.setSp(-1);
    stack.pushWord(4);
    host.call(kAccelerometerExtension, 1, stack, vm);
    stack.pushWord(3);
    host.call(kAccelerometerExtension, 1, stack, vm);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(madeWith, &vm);
    EXPECT_EQ(stack.popWord(), 7); // the same object kept its count

    host.releaseAll(); // the next call makes a new one
    stack.pushWord(1);
    host.call(kAccelerometerExtension, 1, stack, vm);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(stack.popWord(), 1);
}

TEST(Accelerometer, CoordTextAndVirtualPose)
{
    // "%i": decimal, hex and octal; fewer than three numbers or one beyond 32 bits is no reading.
    EXPECT_EQ(CoordFileSource::parse(" 010\t0x10 -5 trailing"), (RawAcceleration{8, 16, -5}));
    EXPECT_FALSE(CoordFileSource::parse("1 2"));
    EXPECT_FALSE(CoordFileSource::parse("1 x 2"));
    EXPECT_FALSE(CoordFileSource::parse("4294967296 1 1"));

    // The pose turns about the neutral vector and keeps 1 g; the raw triple is Y, X, Z.
    VirtualPose pose(VirtualPose::kFlat, 30.0);
    EXPECT_EQ(pose.read(), (RawAcceleration{0, 0, -1000}));
    pose.tilt(3, 0); // right side down by 90 degrees: gravity along +X
    EXPECT_EQ(pose.read(), (RawAcceleration{0, 1000, 0}));
    pose.tilt(-3, 1); // back flat, then the top edge 30 degrees down: gravity towards +Y
    EXPECT_EQ(pose.read(), (RawAcceleration{500, 0, -866}));
    pose.tilt(5, 7);
    const VirtualPose::Vector v = pose.vector();
    EXPECT_NEAR(v.x * v.x + v.y * v.y + v.z * v.z, 1.0, 1e-12);
    pose.reset();
    EXPECT_EQ(pose.read(), (RawAcceleration{0, 0, -1000}));

    // The window's keys: Ctrl alone with an arrow or 0; anything else is the application's.
    EXPECT_TRUE(tiltByKey(pose, Qt::Key_Right, Qt::ControlModifier));
    EXPECT_TRUE(tiltByKey(pose, Qt::Key_Up, Qt::ControlModifier | Qt::KeypadModifier));
    EXPECT_EQ(pose.read(), (RawAcceleration{433, 500, -750}));
    EXPECT_FALSE(tiltByKey(pose, Qt::Key_Left, Qt::NoModifier));
    EXPECT_FALSE(tiltByKey(pose, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_FALSE(tiltByKey(pose, Qt::Key_A, Qt::ControlModifier));
    EXPECT_EQ(pose.read(), (RawAcceleration{433, 500, -750}));
    EXPECT_TRUE(tiltByKey(pose, Qt::Key_0, Qt::ControlModifier));
    EXPECT_EQ(pose.read(), (RawAcceleration{0, 0, -1000}));
}

TEST(Accelerometer, ACoordFileIsReadAfreshForEveryAxis)
{
    VirtualMachine vm;
    vm.setSp(-1);
    ExtensionStack stack(vm);
    QTemporaryDir folder;
    const std::string path = writeFile(folder, "coord", "10 -980 25");
    AccelerometerExtension accelerometer(vm, std::make_shared<CoordFileSource>(path));
    const auto axis = [&](int32_t operation) {
        accelerometer.call(operation, stack);
        return stack.popFixed();
    };
    // X is the second number, Y the first, Z the third, in single precision.
    EXPECT_EQ(axis(11), ORaw::toFixed(-0.98f));
    EXPECT_EQ(axis(12), ORaw::toFixed(0.01f));
    EXPECT_EQ(axis(13), ORaw::toFixed(0.025f));
    writeFile(folder, "coord", "0x10 -20 1000");
    EXPECT_EQ(axis(11), ORaw::toFixed(-0.02f));
    QFile::remove(QString::fromStdString(path));
    EXPECT_EQ(axis(13), 0); // no reading
    EXPECT_EQ(fatalOf([&] { axis(14); }), "FATAL: SensorDLL: Unknown opcode!\n");
}

TEST(Torch, VirtualLampCoverFileAndDeviceFailures)
{
    VirtualMachine vm;
    vm.setSp(-1);
    ExtensionStack stack(vm);
    QTemporaryDir folder;
    TorchSettings settings;
    settings.coverPath = writeFile(folder, "cover", "open\n");
    TorchExtension torch(vm, settings);
    const auto answer = [&](int32_t operation) {
        torch.call(operation, stack);
        return operation > 2 ? stack.popWord() : -1;
    };
    EXPECT_EQ(answer(3), 0); // off at first
    answer(1);
    EXPECT_EQ(answer(3), 1);
    EXPECT_EQ(answer(3), 1); // a query leaves it on
    answer(2);
    EXPECT_EQ(answer(3), 0);
    // The cover is open exactly when its file holds "open\n".
    const std::pair<const char*, int32_t> covers[] = {{"open\n", 1}, {"open", 0}, {"closed\n", 0}};
    for (const auto& [text, open] : covers) {
        writeFile(folder, "cover", text);
        EXPECT_EQ(answer(4), open) << text;
    }
    QFile::remove(QString::fromStdString(settings.coverPath));
    EXPECT_EQ(fatalOf([&] { answer(4); }),
              "FATAL: Torch: Failed to fetch camera cover state from: " + settings.coverPath +
                  ": No such file or directory\n");
    EXPECT_EQ(fatalOf([&] {
                  stack.pushWord(1);
                  answer(5);
              }),
              "FATAL: Torch: Unknown opcode!\n");

    // Absent: it cannot be opened; without a cover file the cover counts as open.
    settings.mode = TorchSettings::Mode::Absent;
    settings.coverPath.clear();
    TorchExtension absent(vm, settings);
    absent.call(4, stack);
    EXPECT_EQ(stack.popWord(), 1);
    EXPECT_EQ(fatalOf([&] { absent.call(3, stack); }),
              "FATAL: Torch: Failed to open video device: /dev/video0: No such device\n");
    // A path that is no V4L2 device opens, and switching the torch on fails.
    settings.mode = TorchSettings::Mode::Device;
    settings.devicePath = writeFile(folder, "lamp", "");
    TorchExtension device(vm, settings);
    EXPECT_EQ(fatalOf([&] { device.call(1, stack); }),
              "FATAL: Torch: Failed to set torch state to ON: Inappropriate ioctl for device\n");
}

namespace {

class Location : public ::testing::Test {
protected:
    Location() { vm.setSp(-1); }
    void push(std::initializer_list<int64_t> words, bool fixed = false)
    {
        for (const int64_t w : words)
            fixed ? stack.pushFixed(w) : stack.pushWord(static_cast<int32_t>(w));
    }
    void run(int32_t op, std::initializer_list<int64_t> words)
    {
        push(words);
        location->call(op, stack);
    }

    VirtualMachine vm;
    ExtensionStack stack{vm};
    const std::shared_ptr<CLocationWrapper> location =
        std::make_shared<CLocationWrapper>(vm, PositionSourceSettings{}, MachineDelivery{});
};

} // namespace

TEST_F(Location, RequestIntervalsAndParameters)
{
    EXPECT_EQ(location->eventHandle(), -1); // no image: no observer methods, and no error
    const uint32_t out = vm.heap().allocate(4, 0, GC_CODE_REFERENCE);
    auto make = [&](int32_t seconds) -> CLocationPositionRequestorGCObject& {
        run(1, {out, 0, 7, seconds});
        EXPECT_EQ(stack.top(), -1);
        return extensionObject<CLocationPositionRequestorGCObject>(vm, vm.loadWord(out), "");
    };
    CLocationPositionRequestorGCObject& request = make(5);
    EXPECT_EQ(request.interval, 5000); // op 1 takes seconds
    EXPECT_EQ(request.parameter, 7);
    run(2, {vm.loadWord(out), 5}); // op 2 takes milliseconds
    EXPECT_EQ(request.interval, 5);
    EXPECT_EQ(stack.top(), -1);
    EXPECT_EQ(make(4294968).interval, 704);   // seconds * 1000 wraps at 32 bits
    EXPECT_FALSE(location->hasPendingWork()); // without a source nothing is ever due
}

TEST_F(Location, ObjectsKeepTheirValuesAndTheirOwnTimestamp)
{
    const auto box = [&](uint32_t value) {
        const uint32_t b = vm.heap().allocate(4, 0, GC_CODE_REFERENCE);
        vm.storeWord(b, value);
        return b;
    };
    const auto date = [&](int32_t year) {
        Tarnel::DateTime t;
        EXPECT_EQ(Tarnel::DateTime::create(1, 2, year, 3, 4, 5, Tarnel::DateTime::kUtc, t),
                  Tarnel::DateTime::Status::Ok);
        return box(
            vm.heap().createObject(std::make_unique<Tarnel::DateTime>(t), GC_CODE_DATE_TIME, 32));
    };
    const uint32_t out = box(0), time = date(2001);
    push({out});
    push({10, 20, 30}, true);
    run(5, {time});
    ASSERT_EQ(stack.top(), -1);
    const uint32_t loc = vm.loadWord(out);
    const auto answer = [&](int32_t op, std::initializer_list<int64_t> words = {}) {
        push({loc});
        run(op, words);
        return op == 9 ? int64_t{stack.popWord()} : stack.popFixed();
    };
    EXPECT_EQ(answer(12), 10);
    EXPECT_EQ(answer(13), 20);
    EXPECT_EQ(answer(11), 30);
    EXPECT_EQ(answer(9), 0);
    EXPECT_EQ(answer(16, {loc}), 0);
    EXPECT_EQ(answer(14, {loc}), 0);
    vm.storeWord(time, 0); // the location holds its own copy of the time
    run(10, {loc});
    const uint32_t copy = static_cast<uint32_t>(stack.popWord());
    EXPECT_EQ(extensionObject<Tarnel::DateTime>(vm, vm.loadWord(copy), "").year(), 2001);
    run(6, {loc, date(2002)});
    push({loc});
    push({-1, -2, -3}, true);
    run(7, {});
    push({loc});
    push({4, 5}, true);
    run(8, {});
    EXPECT_EQ(stack.top(), -1);
    EXPECT_EQ(answer(12), -1);
    EXPECT_EQ(answer(11), -3);
    run(10, {loc});
    EXPECT_EQ(extensionObject<Tarnel::DateTime>(vm, vm.loadWord(stack.popWord()), "").year(), 2002);
    EXPECT_EQ(failureOf([&] {
                  run(5, {0, 1, 2, 3, 4, 5, 6, date(2003)});
              }),
              "1 NullPointerException: NULL pointer");
    EXPECT_NE(failureOf([&] { run(9, {time}); }), "none"); // not a location
}
