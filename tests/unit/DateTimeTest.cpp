// SPDX-License-Identifier: MIT
// Date-times: validation order and refused values, arithmetic across days, months and the
// 32-bit boundary (the text of every result shows the padded format), time-zone conversion and
// comparison, and the DateTime native group's create driven directly on a machine.
#include "VirtualMachine/DateTime.h"
#include "NativeCall.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

using namespace zelmo;
using Tarnel::DateTime;
using Status = DateTime::Status;
using Field = DateTime::Field;

namespace {

// Tests that depend on the local time zone choose it themselves.
void useTimeZone(const char* zone)
{
    qputenv("TZ", zone);
    tzset();
}

DateTime make(int day, int month, int year, int hour, int minute, int second, int timezone)
{
    DateTime d;
    const Status status = DateTime::create(day, month, year, hour, minute, second, timezone, d);
    EXPECT_EQ(status, Status::Ok) << day << "." << month << "." << year;
    return d;
}

std::string text(const DateTime& d)
{
    return d.toString().toStdString();
}

} // namespace

TEST(DateTime, CreateChecksValuesInOrder)
{
    struct Row {
        const char* name;
        int values[7]; // day, month, year, hour, minute, second, timezone
        Status expected;
    };
    const Row rows[] = {
        {"year first", {40, 13, 10000, 24, 60, 60, 2}, Status::InvalidYear},
        {"negative year", {1, 1, -1, 0, 0, 0, 0}, Status::InvalidYear},
        {"month", {40, 0, 2000, 24, 60, 60, 2}, Status::InvalidMonth},
        {"day", {32, 12, 2000, 24, 60, 60, 2}, Status::InvalidDay},
        {"day zero", {0, 12, 2000, 0, 0, 0, 0}, Status::InvalidDay},
        {"hour", {1, 1, 2000, 24, 60, 60, 2}, Status::InvalidHour},
        {"minute", {1, 1, 2000, 23, 60, 60, 2}, Status::InvalidMinute},
        {"second", {1, 1, 2000, 23, 59, 60, 2}, Status::InvalidSecond},
        {"timezone", {1, 1, 2000, 23, 59, 59, 2}, Status::InvalidTimezone},
        {"31 April", {31, 4, 2009, 0, 0, 0, 1}, Status::InvalidDay},
        {"29 February 2001", {29, 2, 2001, 0, 0, 0, 1}, Status::InvalidDay},
        {"29 February 1900", {29, 2, 1900, 0, 0, 0, 1}, Status::InvalidDay},
        // The range checks come first: a missing day loses to a bad hour.
        {"31 April at 25h", {31, 4, 2009, 25, 0, 0, 1}, Status::InvalidHour},
        {"29 February 2000", {29, 2, 2000, 0, 0, 0, 1}, Status::Ok},
        {"29 February of year 0", {29, 2, 0, 0, 0, 0, 1}, Status::Ok},
        {"last second", {31, 12, 9999, 23, 59, 59, 1}, Status::Ok},
    };
    for (const Row& row : rows) {
        DateTime d = make(7, 3, 2009, 14, 5, 9, 1);
        const int* v = row.values;
        EXPECT_EQ(DateTime::create(v[0], v[1], v[2], v[3], v[4], v[5], v[6], d), row.expected)
            << row.name;
        if (row.expected != Status::Ok) {
            EXPECT_EQ(text(d), "2009-03-07 14:05:09Z") << row.name << ": result was changed";
        }
    }
}

TEST(DateTime, AddsAndSubtractsSecondsAcrossTheCalendar)
{
    DateTime d = make(31, 12, 2008, 23, 30, 0, 1);
    ASSERT_EQ(d.addSeconds(25 * 3600), Status::Ok); // 25 hours: next day, one hour later
    EXPECT_EQ(text(d), "2009-01-02 00:30:00Z");

    d = make(28, 2, 2000, 12, 0, 0, 1);
    ASSERT_EQ(d.addSeconds(86400), Status::Ok);
    EXPECT_EQ(text(d), "2000-02-29 12:00:00Z");
    ASSERT_EQ(d.addSeconds(86400), Status::Ok);
    EXPECT_EQ(text(d), "2000-03-01 12:00:00Z");

    // 30000 days are 2592000000 seconds, more than an int holds.
    d = make(1, 1, 2000, 0, 0, 0, 1);
    ASSERT_EQ(d.addSeconds(int64_t{30000} * 86400), Status::Ok);
    EXPECT_EQ(text(d), "2082-02-19 00:00:00Z");

    // The years end at 0 and 9999.
    d = make(1, 1, 0, 0, 0, 0, 1);
    EXPECT_EQ(d.addSeconds(-1), Status::OutOfRange);
    EXPECT_EQ(text(d), "0000-01-01 00:00:00Z");
    d = make(31, 12, 9999, 23, 59, 59, 1);
    EXPECT_EQ(d.addSeconds(1), Status::OutOfRange);
    EXPECT_EQ(d.addSeconds(INT64_MAX), Status::OutOfRange);
    EXPECT_EQ(d.addSeconds(INT64_MIN), Status::OutOfRange);
    EXPECT_EQ(text(d), "9999-12-31 23:59:59Z");
    // The whole range: 10000 years of 365 days and 2425 leap days.
    ASSERT_EQ(d.addSeconds(-(int64_t{3652425} * 86400 - 1)), Status::Ok);
    EXPECT_EQ(text(d), "0000-01-01 00:00:00Z");
}

TEST(DateTime, TimezoneChangesKeepTheInstant)
{
    useTimeZone("Europe/Berlin");
    DateTime d = make(1, 7, 2009, 12, 0, 0, 0);
    EXPECT_EQ(d.setTimezone(0), Status::Ok); // already local: nothing changes
    EXPECT_EQ(text(d), "2009-07-01 12:00:00");
    ASSERT_EQ(d.setTimezone(1), Status::Ok);
    EXPECT_EQ(text(d), "2009-07-01 10:00:00Z");
    EXPECT_EQ(d.timezone(), 1);
    ASSERT_EQ(d.setTimezone(0), Status::Ok);
    EXPECT_EQ(text(d), "2009-07-01 12:00:00");
    EXPECT_EQ(d.setTimezone(2), Status::InvalidTimezone);

    // Winter time across midnight, backwards.
    d = make(1, 1, 2010, 0, 30, 0, 0);
    ASSERT_EQ(d.setTimezone(1), Status::Ok);
    EXPECT_EQ(text(d), "2009-12-31 23:30:00Z");

    // Past the last year in local time: refused, unchanged.
    d = make(31, 12, 9999, 23, 30, 0, 1);
    EXPECT_EQ(d.setTimezone(0), Status::OutOfRange);
    EXPECT_EQ(text(d), "9999-12-31 23:30:00Z");

    // A local time that the spring change skips moves forward by the gap.
    d = make(28, 3, 2021, 2, 30, 0, 0);
    EXPECT_EQ(text(d), "2021-03-28 03:30:00");
    ASSERT_EQ(d.setTimezone(1), Status::Ok);
    EXPECT_EQ(text(d), "2021-03-28 01:30:00Z");
    d = make(28, 3, 2021, 1, 30, 0, 0);
    ASSERT_EQ(d.addSeconds(3600), Status::Ok);
    EXPECT_EQ(text(d), "2021-03-28 03:30:00");
}

TEST(DateTime, ComparesFieldsAndInstants)
{
    useTimeZone("Europe/Berlin");
    const DateTime base = make(15, 6, 2009, 12, 30, 30, 1);
    struct Row {
        DateTime other;
        int expected;
    };
    const Row rows[] = {
        {make(15, 6, 2009, 12, 30, 30, 1), 0},
        {make(15, 7, 2008, 23, 0, 0, 1), 1},
        {make(15, 6, 2009, 13, 0, 0, 1), -1},
        {make(15, 6, 2009, 12, 30, 29, 1), 1},
        // Local summer time is UTC + 2: the same instant, one second later, one earlier.
        {make(15, 6, 2009, 14, 30, 30, 0), 0},
        {make(15, 6, 2009, 14, 30, 31, 0), -1},
        {make(15, 6, 2009, 14, 30, 29, 0), 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(base.compare(row.other), row.expected) << text(row.other);
        EXPECT_EQ(row.other.compare(base), -row.expected) << text(row.other);
    }
    // Expressed in local time the other moment lies in year 10000; it still orders after.
    const DateTime local = make(31, 12, 9999, 23, 59, 59, 0);
    EXPECT_EQ(local.compare(make(31, 12, 9999, 23, 30, 0, 1)), -1);
}

// ---- the native group on a machine ----

namespace {

class DateTimeNatives : public zelmo::testing::NativeCall {
protected:
    static constexpr int kDateTime = 29;
    int32_t result(int operation, std::initializer_list<int64_t> args)
    {
        call(kDateTime, operation, args);
        EXPECT_EQ(vm.sp(), 0) << "operation " << operation;
        return vm.arg(0);
    }
    const DateTime& at(uint32_t f) { return vm.heap().objectAt<DateTime>(vm.loadWord(f)); }
    std::string textOf(uint32_t f) { return text(static_cast<uint32_t>(result(21, {f}))); }
};

} // namespace

TEST_F(DateTimeNatives, CreateStoresANewObjectOrLeavesTheFieldAlone)
{
    const uint32_t d = block();
    call(kDateTime, 4, {d, 7, 3, 2009, 14, 5, 9, 1});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(vm.heap().entryOf(vm.loadWord(d))->gcCode, GC_CODE_DATE_TIME);
    EXPECT_EQ(textOf(d), "2009-03-07 14:05:09Z");
    const int32_t getters[] = {7, 3, 2009, 14, 5, 9, 1};
    for (int op = 7; op <= 13; ++op)
        EXPECT_EQ(result(op, {d}), getters[op - 7]) << "operation " << op;

    const uint32_t target = block();
    const std::pair<std::vector<int32_t>, const char*> refused[] = {
        {{1, 13, 10000, 0, 0, 0, 0}, "year"},  {{1, 13, 2000, 0, 0, 0, 0}, "month"},
        {{31, 4, 2000, 0, 0, 0, 0}, "day"},    {{1, 1, 2000, 24, 0, 0, 0}, "hour"},
        {{1, 1, 2000, 0, 60, 0, 0}, "minute"}, {{1, 1, 2000, 0, 0, -1, 0}, "second"},
        {{1, 1, 2000, 0, 0, 0, 2}, "timezone"}};
    for (const auto& [v, what] : refused)
        EXPECT_EQ(failureText(kDateTime, 4, {target, v[0], v[1], v[2], v[3], v[4], v[5], v[6]}),
                  std::string("InvalidArgumentException: Invalid ") + what);
    EXPECT_EQ(vm.loadWord(target), 0u);
    EXPECT_EQ(failureText(kDateTime, 4, {0, 1, 1, 2000, 0, 0, 0, 0}),
              "NullPointerException: NULL pointer");

    // Copies are new objects with the same fields.
    call(kDateTime, 2, {target, d});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_NE(vm.loadWord(target), vm.loadWord(d));
    EXPECT_EQ(textOf(target), "2009-03-07 14:05:09Z");

    useTimeZone("UTC");
    const uint32_t now = block();
    call(kDateTime, 1, {now});
    EXPECT_EQ(vm.sp(), -1);
    EXPECT_EQ(at(now).timezone(), 0);
    EXPECT_GE(at(now).year(), 2024);
}
