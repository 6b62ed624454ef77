// SPDX-License-Identifier: MIT
// Group 29, DateTime: creating, reading, changing, comparing and formatting date-times. A
// date-time argument is the address of the variable or field that holds the object; creation
// stores a new object at such an address and leaves it untouched when the values are refused.
// System's now(timezone) lives here too: date-times come from Qt, and the lean build of the
// core (ZELMO_WITHOUT_QT) leaves this file out and binds neither.
#include "VirtualMachine/DateTime.h"
#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/VirtualMachine.h"

namespace zelmo {

namespace {

using Tarnel::DateTime;
using Status = DateTime::Status;

// The object held at a date-time reference; a null reference or an empty field is the null
// error, a word that names no date-time a managed error.
DateTime& dateTimeAt(VirtualMachine& vm, uint32_t reference)
{
    const uint32_t object = vm.loadWord(reference);
    if (object == 0) throwError(kNullPointer, "NULL pointer");
    return vm.heap().objectAt<DateTime>(object);
}

// Stores a new object holding `value` at the field address `target`.
void storeNew(VirtualMachine& vm, uint32_t target, const DateTime& value)
{
    if (target == 0) throwError(kNullPointer, "NULL pointer");
    const uint32_t object =
        vm.heap().createObject(std::make_unique<DateTime>(value), GC_CODE_DATE_TIME, 32);
    vm.storeWord(target, object);
}

// The messages of creation: one per value, checked in argument order.
[[noreturn]] void refuseCreation(Status status)
{
    switch (status) {
    case Status::InvalidYear:
        throwError(kInvalidArgument, "Invalid year");
    case Status::InvalidMonth:
        throwError(kInvalidArgument, "Invalid month");
    case Status::InvalidDay:
        throwError(kInvalidArgument, "Invalid day");
    case Status::InvalidHour:
        throwError(kInvalidArgument, "Invalid hour");
    case Status::InvalidMinute:
        throwError(kInvalidArgument, "Invalid minute");
    case Status::InvalidSecond:
        throwError(kInvalidArgument, "Invalid second");
    case Status::InvalidTimezone:
        throwError(kInvalidArgument, "Invalid timezone");
    default:
        throwError(kInvalidArgument);
    }
}

// Changes report a day missing from its month by name; anything else out of range is the
// plain InvalidArgumentException.
void requireChanged(Status status)
{
    if (status == Status::Ok) return;
    if (status == Status::InvalidDay) throwError(kInvalidArgument, "Invalid day");
    throwError(kInvalidArgument);
}

constexpr DateTime::Field kFields[] = {DateTime::Field::Day,    DateTime::Field::Month,
                                       DateTime::Field::Year,   DateTime::Field::Hour,
                                       DateTime::Field::Minute, DateTime::Field::Second};

} // namespace

void VirtualMachine::dateTimeNative(int operation)
{
    switch (operation) {
    case 1: // createNow(r)
        storeNew(*this, argU(0), DateTime::now(DateTime::kLocal));
        popWords(1);
        return;
    case 2: // createCopy(r, d)
    case 3: // createCopy2(r, d)
        storeNew(*this, argU(1), dateTimeAt(*this, argU(0)));
        popWords(2);
        return;
    case 4: { // create(r, day, month, year, hour, minute, second, timezone)
        DateTime made;
        const Status status =
            DateTime::create(arg(6), arg(5), arg(4), arg(3), arg(2), arg(1), arg(0), made);
        if (status != Status::Ok) refuseCreation(status);
        storeNew(*this, argU(7), made);
        popWords(8);
        return;
    }
    case 5:   // add(d, days, hours, minutes, seconds)
    case 6: { // subtract(d, days, hours, minutes, seconds)
        DateTime& d = dateTimeAt(*this, argU(4));
        // In 64 bits: 25000 days and more would wrap a 32-bit sum.
        const int64_t total = int64_t{arg(3)} * 86400 + int64_t{arg(2)} * 3600 +
                              int64_t{arg(1)} * 60 + int64_t{arg(0)};
        requireChanged(d.addSeconds(operation == 5 ? total : -total));
        popWords(5);
        return;
    }
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12: // getDay .. getSecond(d)
        arg(0) = dateTimeAt(*this, argU(0)).get(kFields[operation - 7]);
        return;
    case 13: // getTimezone(d)
        arg(0) = dateTimeAt(*this, argU(0)).timezone();
        return;
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19: // setDay .. setSecond(d, v)
        requireChanged(dateTimeAt(*this, argU(1)).set(kFields[operation - 14], arg(0)));
        popWords(2);
        return;
    case 20: { // setTimezone(d, tz)
        DateTime& d = dateTimeAt(*this, argU(1));
        const Status status = d.setTimezone(arg(0));
        if (status != Status::Ok) throwError(kInvalidArgument);
        popWords(2);
        return;
    }
    case 21: // toString(d)
        arg(0) = static_cast<int32_t>(
            newString(OString(dateTimeAt(*this, argU(0)).toString().toStdU16String())));
        return;
    case 22: // sameReference(x, y): the slot values, never the fields
    case 23: // differentReference(x, y)
        arg(1) = (arg(1) == arg(0)) == (operation == 22) ? 1 : 0;
        popWords(1);
        return;
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29: { // equals, notEquals, before, beforeOrEqual, after, afterOrEqual(a, b)
        const int c = dateTimeAt(*this, argU(1)).compare(dateTimeAt(*this, argU(0)));
        bool result = false;
        switch (operation) {
        case 24:
            result = c == 0;
            break;
        case 25:
            result = c != 0;
            break;
        case 26:
            result = c < 0;
            break;
        case 27:
            result = c <= 0;
            break;
        case 28:
            result = c > 0;
            break;
        case 29:
            result = c >= 0;
            break;
        }
        arg(1) = result ? 1 : 0;
        popWords(1);
        return;
    }
    default:
        unknownOperation("DateTime:");
    }
}

namespace {

constexpr int kDateTimeGroup = 29;
constexpr int kSystemGroup = 32;
constexpr int kSystemNow = 9;

void dateTimeGroup(VirtualMachine& vm, int operation)
{
    vm.dateTimeNative(operation);
}

// System now(timezone): the current date-time in a reference box, the form the DateTime group
// takes its arguments in.
void systemNow(VirtualMachine& vm, int)
{
    const int32_t timezone = vm.arg(0);
    if (timezone != DateTime::kLocal && timezone != DateTime::kUtc) throwError(kInvalidArgument);
    const uint32_t object = vm.heap().createObject(
        std::make_unique<DateTime>(DateTime::now(timezone)), GC_CODE_DATE_TIME, 32);
    const uint32_t box = vm.heap().allocate(4, 0, GC_CODE_REFERENCE);
    vm.storeWord(box, object);
    vm.arg(0) = static_cast<int32_t>(box);
}

} // namespace

void bindDateTimeNatives()
{
    bindNativeGroup(kDateTimeGroup, &dateTimeGroup);
    bindNativeOperation(kSystemGroup, kSystemNow, &systemNow);
}

} // namespace zelmo
