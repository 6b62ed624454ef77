// SPDX-License-Identifier: MIT
// A calendar date and time of day, to the second, in local time or UTC: the value behind the
// DateTime natives. Calendar arithmetic and time-zone conversion are Qt's. The fields are always
// the broken-down form of a real moment in the years 0..9999: an operation whose result would
// not be one is refused with a status and leaves the fields as they were.
#pragma once

#include "Containers/GCObject.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace zelmo::Tarnel {

class DateTime : public GCObject {
public:
    static constexpr int32_t kLocal = 0;
    static constexpr int32_t kUtc = 1;
    static constexpr int32_t kMinYear = 0;
    static constexpr int32_t kMaxYear = 9999;

    enum class Status {
        Ok,
        InvalidYear,
        InvalidMonth,
        InvalidDay, // in 1..31 but not in its month (31 April, 29 February of a common year)
        InvalidHour,
        InvalidMinute,
        InvalidSecond,
        InvalidTimezone,
        OutOfRange, // a value outside its field's range, or a result outside the years
    };
    enum class Field { Day, Month, Year, Hour, Minute, Second };

    // 1970-01-01 00:00:00 UTC.
    DateTime() = default;

    // The current time to the second: local time, converted to UTC for timezone kUtc.
    static DateTime now(int32_t timezone = kLocal);
    // Checks the values in the order year, month, day, hour, minute, second, timezone (ranges
    // only), then that the day exists in its month; on success stores the moment in `result`.
    static Status create(int32_t day, int32_t month, int32_t year, int32_t hour, int32_t minute,
                         int32_t second, int32_t timezone, DateTime& result);

    int32_t timezone() const { return m_timezone; }
    int32_t day() const { return m_day; }
    int32_t month() const { return m_month; }
    int32_t year() const { return m_year; }
    int32_t hour() const { return m_hour; }
    int32_t minute() const { return m_minute; }
    int32_t second() const { return m_second; }
    int32_t get(Field field) const;

    // Replaces one component keeping the others. OutOfRange for a value outside the field's
    // range, InvalidDay when the date would not exist.
    Status set(Field field, int32_t value);
    // Moves the moment by `seconds` (negative: backwards).
    Status addSeconds(int64_t seconds);
    // Keeps the moment and expresses it in the other timezone (local or UTC).
    Status setTimezone(int32_t timezone);

    // -1, 0 or 1. Operands in different timezones are compared after expressing
    // `other` in this one's.
    int compare(const DateTime& other) const;
    // "YYYY-MM-DD hh:mm:ss", with a trailing "Z" in UTC.
    QString toString() const;
    // The moment as a Qt date-time in local time or UTC.
    QDateTime toQDateTime() const;

private:
    // Takes the fields of `moment` (keeping the timezone field); OutOfRange when it is not
    // valid or outside the years.
    Status assign(const QDateTime& moment);
    static QDateTime makeMoment(int32_t year, int32_t month, int32_t day, int32_t hour,
                                int32_t minute, int32_t second, int32_t timezone);

    int32_t m_timezone = kUtc;
    int32_t m_day = 1;
    int32_t m_month = 1;
    int32_t m_year = 1970;
    int32_t m_hour = 0;
    int32_t m_minute = 0;
    int32_t m_second = 0;
};

} // namespace zelmo::Tarnel
