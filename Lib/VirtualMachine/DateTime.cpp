// SPDX-License-Identifier: MIT
#include "VirtualMachine/DateTime.h"

namespace zelmo::Tarnel {

namespace {

// Qt counts years without a year 0 (1 BC is year -1); our year 0 is that year, so that every
// year from 0 to 9999 is a real calendar year (year 0 is a leap year).
int qtYear(int32_t year)
{
    return year == 0 ? -1 : year;
}
int32_t fieldYear(int year)
{
    return year < 0 ? year + 1 : year;
}

template <class T> int order(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

QDateTime DateTime::makeMoment(int32_t year, int32_t month, int32_t day, int32_t hour,
                               int32_t minute, int32_t second, int32_t timezone)
{
    const QDate date(qtYear(year), month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) return {};
    if (timezone == kUtc) return QDateTime(date, time, Qt::UTC);
    const QDateTime local(date, time, Qt::LocalTime);
    if (local.isValid()) return local;
    // A local time that a daylight-saving change skips: read it with the offset in force before
    // the change, which moves it forward by the length of the gap (as the C library does).
    const QDateTime dayBefore(date.addDays(-1), time, Qt::LocalTime);
    if (!dayBefore.isValid()) return {};
    return QDateTime(date, time, Qt::UTC).addSecs(-dayBefore.offsetFromUtc()).toLocalTime();
}

DateTime DateTime::now(int32_t timezone)
{
    QDateTime moment =
        QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::LocalTime);
    DateTime result;
    result.m_timezone = timezone == kUtc ? kUtc : kLocal;
    if (result.m_timezone == kUtc) moment = moment.toUTC();
    result.assign(moment);
    return result;
}

DateTime::Status DateTime::create(int32_t day, int32_t month, int32_t year, int32_t hour,
                                  int32_t minute, int32_t second, int32_t timezone,
                                  DateTime& result)
{
    if (year < kMinYear || year > kMaxYear) return Status::InvalidYear;
    if (month < 1 || month > 12) return Status::InvalidMonth;
    if (day < 1 || day > 31) return Status::InvalidDay;
    if (hour < 0 || hour > 23) return Status::InvalidHour;
    if (minute < 0 || minute > 59) return Status::InvalidMinute;
    if (second < 0 || second > 59) return Status::InvalidSecond;
    if (timezone != kLocal && timezone != kUtc) return Status::InvalidTimezone;
    if (!QDate(qtYear(year), month, day).isValid()) return Status::InvalidDay;
    DateTime made;
    made.m_timezone = timezone;
    const Status status = made.assign(makeMoment(year, month, day, hour, minute, second, timezone));
    if (status == Status::Ok) result = made;
    return status;
}

int32_t DateTime::get(Field field) const
{
    switch (field) {
    case Field::Day:
        return m_day;
    case Field::Month:
        return m_month;
    case Field::Year:
        return m_year;
    case Field::Hour:
        return m_hour;
    case Field::Minute:
        return m_minute;
    case Field::Second:
        return m_second;
    }
    return 0;
}

DateTime::Status DateTime::set(Field field, int32_t value)
{
    int32_t year = m_year, month = m_month, day = m_day;
    int32_t hour = m_hour, minute = m_minute, second = m_second;
    auto inRange = [value](int32_t low, int32_t high) { return value >= low && value <= high; };
    switch (field) {
    case Field::Day:
        if (!inRange(1, 31)) return Status::OutOfRange;
        day = value;
        break;
    case Field::Month:
        if (!inRange(1, 12)) return Status::OutOfRange;
        month = value;
        break;
    case Field::Year:
        if (!inRange(kMinYear, kMaxYear)) return Status::OutOfRange;
        year = value;
        break;
    case Field::Hour:
        if (!inRange(0, 23)) return Status::OutOfRange;
        hour = value;
        break;
    case Field::Minute:
        if (!inRange(0, 59)) return Status::OutOfRange;
        minute = value;
        break;
    case Field::Second:
        if (!inRange(0, 59)) return Status::OutOfRange;
        second = value;
        break;
    }
    if (!QDate(qtYear(year), month, day).isValid()) return Status::InvalidDay;
    return assign(makeMoment(year, month, day, hour, minute, second, m_timezone));
}

DateTime::Status DateTime::addSeconds(int64_t seconds)
{
    // Anything beyond the span of all representable years cannot land inside it; refusing it
    // here also keeps Qt's millisecond arithmetic far from overflow.
    constexpr int64_t kSpan = int64_t{kMaxYear - kMinYear + 1} * 366 * 86400;
    if (seconds > kSpan || seconds < -kSpan) return Status::OutOfRange;
    return assign(toQDateTime().addSecs(seconds));
}

DateTime::Status DateTime::setTimezone(int32_t timezone)
{
    if (timezone != kLocal && timezone != kUtc) return Status::InvalidTimezone;
    if (timezone == m_timezone) return Status::Ok;
    const QDateTime moment = toQDateTime();
    DateTime converted = *this;
    const Status status =
        converted.assign(timezone == kUtc ? moment.toUTC() : moment.toLocalTime());
    if (status == Status::Ok) {
        *this = converted;
        m_timezone = timezone;
    }
    return status;
}

int DateTime::compare(const DateTime& other) const
{
    const QDate date(qtYear(m_year), m_month, m_day);
    const QTime time(m_hour, m_minute, m_second);
    QDate otherDate(qtYear(other.m_year), other.m_month, other.m_day);
    QTime otherTime(other.m_hour, other.m_minute, other.m_second);
    if (other.m_timezone != m_timezone) {
        // Expressed in our timezone the other moment may fall outside our years; Qt's
        // dates still order it correctly.
        const QDateTime moment = other.toQDateTime();
        const QDateTime converted = m_timezone == kUtc ? moment.toUTC() : moment.toLocalTime();
        otherDate = converted.date();
        otherTime = converted.time();
    }
    if (const int byDate = order(date, otherDate)) return byDate;
    return order(time, otherTime);
}

QString DateTime::toString() const
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d%s", m_year, m_month, m_day, m_hour,
                             m_minute, m_second, m_timezone == kUtc ? "Z" : "");
}

QDateTime DateTime::toQDateTime() const
{
    return makeMoment(m_year, m_month, m_day, m_hour, m_minute, m_second, m_timezone);
}

DateTime::Status DateTime::assign(const QDateTime& moment)
{
    if (!moment.isValid()) return Status::OutOfRange;
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int32_t year = fieldYear(date.year());
    if (year < kMinYear || year > kMaxYear) return Status::OutOfRange;
    m_year = year;
    m_month = date.month();
    m_day = date.day();
    m_hour = time.hour();
    m_minute = time.minute();
    m_second = time.second();
    return Status::Ok;
}

} // namespace zelmo::Tarnel
