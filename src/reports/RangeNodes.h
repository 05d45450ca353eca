#pragma once

#include <QString>

#include <cstdint>

// Bucket definitions of the size, time-of-day and date reports. Each is a plain value with
// one getter and one setter per field, plus the membership test the reports apply.

// A range of file sizes in bytes, both ends inclusive. An upper bound of -100 marks the last
// bucket: bounds are compared as unsigned 64-bit numbers, so -100 reads as a bound no file
// reaches.
class SizeRangeNode {
public:
    SizeRangeNode() = default;
    // initWithTitle:lowerRange:upperRange:srNumber:
    SizeRangeNode(const QString& title, std::int64_t lowerRange, std::int64_t upperRange, std::int32_t srNumber)
        : title_(title), lowerRange_(lowerRange), upperRange_(upperRange), srNo_(srNumber)
    {
    }

    const QString& title() const { return title_; }
    void setTitle(const QString& v) { title_ = v; }
    std::int64_t lowerRange() const { return lowerRange_; }
    void setLowerRange(std::int64_t v) { lowerRange_ = v; }
    std::int64_t upperRange() const { return upperRange_; }
    void setUpperRange(std::int64_t v) { upperRange_ = v; }
    std::int32_t srNo() const { return srNo_; }
    void setSrNo(std::int32_t v) { srNo_ = v; }

    // lowerRange <= size <= upperRange, compared unsigned.
    bool contains(std::uint64_t size) const
    {
        return std::uint64_t(lowerRange_) <= size && size <= std::uint64_t(upperRange_);
    }

private:
    QString title_;
    std::int64_t lowerRange_ = 0;
    std::int64_t upperRange_ = 0;
    std::int32_t srNo_ = 0;
};

// An hour of the day: seconds after local midnight, lower bound inclusive, upper exclusive.
class TimeRangeNode {
public:
    TimeRangeNode() = default;
    // initWithTitle:lowerRange:upperRange:srNumber:
    TimeRangeNode(const QString& title, double lowerRange, double upperRange, std::int32_t srNumber)
        : title_(title), lowerRange_(lowerRange), upperRange_(upperRange), srNo_(srNumber)
    {
    }

    const QString& title() const { return title_; }
    void setTitle(const QString& v) { title_ = v; }
    double lowerRange() const { return lowerRange_; }
    void setLowerRange(double v) { lowerRange_ = v; }
    double upperRange() const { return upperRange_; }
    void setUpperRange(double v) { upperRange_ = v; }
    std::int32_t srNo() const { return srNo_; }
    void setSrNo(std::int32_t v) { srNo_ = v; }

    // lowerRange <= secondOfDay < upperRange.
    bool contains(double secondOfDay) const { return lowerRange_ <= secondOfDay && secondOfDay < upperRange_; }

private:
    QString title_;
    double lowerRange_ = 0;
    double upperRange_ = 0;
    std::int32_t srNo_ = 0;
};

// A range of absolute times (seconds since 2001-01-01 UTC): start inclusive, end exclusive;
// or, with isBefore_2Yrs, every time before the start.
class DateRangeNode {
public:
    DateRangeNode() = default;
    // initWithTitle:IntervalFromReferenceDate:timeIntervalForComponent:srNumber:isBefore2Yrs:
    DateRangeNode(const QString& title, double intervalFromReferenceDate, double timeIntervalForComponent,
                  std::int32_t srNumber, bool isBefore2Yrs)
        : title_(title), start_(intervalFromReferenceDate), end_(timeIntervalForComponent), srNo_(srNumber),
          isBefore2Yrs_(isBefore2Yrs)
    {
    }

    const QString& title() const { return title_; }
    void setTitle(const QString& v) { title_ = v; }
    double timeIntervalFromReferenceDate() const { return start_; }
    void setTimeIntervalFromReferenceDate(double v) { start_ = v; }
    double timeIntervalForComponent() const { return end_; }
    void setTimeIntervalForComponent(double v) { end_ = v; }
    std::int32_t srNo() const { return srNo_; }
    void setSrNo(std::int32_t v) { srNo_ = v; }
    bool isBefore_2Yrs() const { return isBefore2Yrs_; }
    void setIsBefore_2Yrs(bool v) { isBefore2Yrs_ = v; }

    bool contains(double time) const { return isBefore2Yrs_ ? time < start_ : (start_ <= time && time < end_); }

private:
    QString title_;
    double start_ = 0;
    double end_ = 0;
    std::int32_t srNo_ = 0;
    bool isBefore2Yrs_ = false;
};

// One attribute kind of the attributes report: a label and either the POSIX permission
// value 292 (octal 0444) or one item-information flag bit.
struct AttributeKind {
    QString label;
    std::uint32_t number = 0;
    bool operator==(const AttributeKind&) const = default;
};

// The permission value that marks the "Readonly Files" kind.
inline constexpr std::uint32_t kReadonlyPermissions = 0444;
