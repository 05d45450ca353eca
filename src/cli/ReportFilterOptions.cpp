#include "cli/ReportFilterOptions.h"

#include "settings/CommonFuncs.h"

namespace Cli {

namespace {

// Takes "--name A B" (count values) out of args.
std::optional<QStringList> takeValues(QStringList& args, const QString& name, int count,
                                      std::optional<CliError>& error)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return std::nullopt;
    if (at + count >= args.size()) {
        error = CliError{QStringLiteral("%1 needs %2 value(s)").arg(name).arg(count)};
        args.removeAt(at);
        return std::nullopt;
    }
    QStringList values = args.mid(at + 1, count);
    args.remove(at, count + 1);
    return values;
}

std::optional<int> indexOf(const QString& text, std::initializer_list<const char*> names)
{
    int i = 0;
    for (const char* name : names) {
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return i;
        ++i;
    }
    return std::nullopt;
}

std::optional<CliError> checkNumber(const QString& option, const QString& text)
{
    if (!FileViewerFilter::validateStringIsNumber(text))
        return CliError{QStringLiteral("%1 needs numbers, not '%2'").arg(option, text)};
    return std::nullopt;
}

} // namespace

std::optional<CliError> takeFilterOptions(QStringList& args, std::optional<FileViewerFilterValues>& out)
{
    std::optional<CliError> error;
    FileViewerFilterValues values;
    bool any = false;
    if (auto v = takeValues(args, QStringLiteral("--name"), 1, error)) {
        values.fileName = v->at(0);
        any = true;
    }
    if (auto v = takeValues(args, QStringLiteral("--size-between"), 2, error)) {
        for (const QString& n : *v)
            if (auto bad = checkNumber(QStringLiteral("--size-between"), n))
                return bad;
        values.sizeFilterType = 1;
        values.fileSizeMin = v->at(0);
        values.fileSizeMax = v->at(1);
        any = true;
    }
    if (auto v = takeValues(args, QStringLiteral("--size"), 2, error)) {
        const auto op = indexOf(v->at(0), {"=", "<", "<=", ">", ">="});
        if (!op)
            return CliError{QStringLiteral("--size needs one of = < <= > >= before the value")};
        if (auto bad = checkNumber(QStringLiteral("--size"), v->at(1)))
            return bad;
        if (values.sizeFilterType == 1)
            return CliError{QStringLiteral("--size and --size-between exclude each other")};
        values.sizeFilterType = 2;
        values.comparisionOperator = *op;
        values.fileSizeForComparision = v->at(1);
        any = true;
    }
    if (auto v = takeValues(args, QStringLiteral("--size-unit"), 1, error)) {
        const auto unit = indexOf(v->at(0), {"bytes", "kb", "mb", "gb"});
        if (!unit)
            return CliError{QStringLiteral("--size-unit needs bytes, kb, mb or gb")};
        values.sizeUnitForFilter = values.sizeUnitForComparision = *unit;
    }
    if (auto v = takeValues(args, QStringLiteral("--date"), 3, error)) {
        const auto type = indexOf(v->at(0), {"accessed", "modified", "created"});
        if (!type)
            return CliError{QStringLiteral("--date needs accessed, modified or created")};
        // A date the filter cannot read would silently match every file.
        for (const QString& day : {v->at(1), v->at(2)})
            if (!CommonFuncs::dateFromDateOnlyString(day).isValid())
                return CliError{QStringLiteral("--date needs dates as MM/dd/yyyy, not '%1'").arg(day)};
        values.dateTypeForFilter = *type;
        values.dateFrom = v->at(1);
        values.dateTo = v->at(2);
        any = true;
    }
    if (auto v = takeValues(args, QStringLiteral("--top"), 1, error)) {
        bool ok = false;
        values.topFilteredFileCount = v->at(0).toInt(&ok);
        if (!ok || values.topFilteredFileCount < 1)
            return CliError{QStringLiteral("--top needs a positive number")};
        any = true;
    }
    if (error)
        return error;
    if (any)
        out = values;
    return std::nullopt;
}

} // namespace Cli
