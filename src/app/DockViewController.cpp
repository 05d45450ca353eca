#include "app/DockViewController.h"

#include "scan/TFoldInfo.h"
#include "settings/CommonFuncs.h"
#include "settings/SettingsStore.h"
#include "settings/TextFormat.h"

#include <algorithm>
#include <chrono>

using namespace std::chrono_literals;

namespace {

// Groups the chart leaves out, though "Used Space" counts them.
bool isChartedGroup(const QString& sType)
{
    return sType != QLatin1String("Financial Files") && sType != QLatin1String("E-Books");
}

int reportUnit() { return GeneralLib::cache().allDiskReports; }

// Biggest first; files of equal size keep their order.
void sortBySizeDescending(NodeList& files)
{
    std::stable_sort(files.begin(), files.end(),
                     [](const TFoldInfo* a, const TFoldInfo* b) { return a->cSize() > b->cSize(); });
}

} // namespace

DockViewController::DockViewController(Scheduler& scheduler)
    : scheduler_(scheduler)
{
}

void DockViewController::setupDataInStatusMenu(const std::vector<TSpInfo>& overviewRows, const NodeList& filesOnly)
{
    arrOverViewData_ = overviewRows;
    arrTotalFiles_ = filesOnly;
    drawBarChart();
}

void DockViewController::clear()
{
    arrOverViewData_.clear();
    arrTotalFiles_.clear();
    arrTopSizeFiles_.clear();
    chartData_.clear();
    ++loadTicket_;
    ++chartGeneration_;
}

void DockViewController::drawBarChart()
{
    const QString storedPath = SettingsStore::value(QStringLiteral("scanpath_nag")).toString();
    txtScanPath_ = TextFormat::format(QStringLiteral("Scan Path: %@"),
                                      {storedPath.isEmpty() ? QStringLiteral("-") : storedPath});

    std::uint64_t all = 0;
    std::uint64_t charted = 0;
    std::vector<TSpInfo> chartedRows;
    for (const TSpInfo& row : arrOverViewData_) {
        all += row.Size;
        if (isChartedGroup(row.label)) {
            charted += row.Size;
            chartedRows.push_back(row);
        }
    }
    arrOverViewData_ = std::move(chartedRows);

    chartData_.clear();
    const auto denominator = static_cast<float>(CommonFuncs::denominator(charted));
    for (const TSpInfo& row : arrOverViewData_) {
        const float percent = static_cast<float>(row.Size) * 100.0f / denominator;
        chartData_.push_back({percent / 100.0f, CommonFuncs::sizeUnitFor(reportUnit(), row.Size), groupColor(row.label)});
    }
    ++chartGeneration_;

    const int ticket = ++loadTicket_;
    scheduler_.schedule(500ms, [this, ticket] {
        if (ticket != loadTicket_)
            return;
        loadTop5Files();
        if (topFilesLoaded_)
            topFilesLoaded_();
    });
    txtTotalSpaceUsed_ = TextFormat::format(QStringLiteral("Used Space: %@"), {CommonFuncs::sizeUnitFor(reportUnit(), all)});
}

void DockViewController::loadTop5Files()
{
    changeDatainDetailTable(kTabAllFiles);
    highlishtSelectedTab(kTabAllFiles);
}

void DockViewController::changeDatainDetailTable(int code)
{
    if (code < 0)
        return;
    if (code == kTabAllFiles) {
        arrTopSizeFiles_ = arrTotalFiles_;
    } else {
        if (code >= groupRowCount())
            return;
        arrTopSizeFiles_ = arrOverViewData_[static_cast<size_t>(code)].nodes;
    }
    sortBySizeDescending(arrTopSizeFiles_);
}

void DockViewController::highlishtSelectedTab(int code) { selectedTab_ = code; }

void DockViewController::groupRowSelected(int row)
{
    if (row >= 0 && row <= kTabMusic) {
        changeDatainDetailTable(row);
        highlishtSelectedTab(row);
    } else if (row == 4) {
        loadTop5Files();
    }
}

void DockViewController::btnTabsPressed(int code)
{
    changeDatainDetailTable(code);
    highlishtSelectedTab(code);
}

void DockViewController::sortDetailTable(const QString& column, bool ascending)
{
    const bool byName = column == QLatin1String("name");
    std::stable_sort(arrTopSizeFiles_.begin(), arrTopSizeFiles_.end(), [&](const TFoldInfo* a, const TFoldInfo* b) {
        if (byName) {
            const int order = QString::localeAwareCompare(a->sName(), b->sName());
            return ascending ? order < 0 : order > 0;
        }
        return ascending ? a->cSize() < b->cSize() : a->cSize() > b->cSize();
    });
}

bool DockViewController::viewWillAppear()
{
    if (!shouldRefresh_)
        return false;
    drawBarChart();
    shouldRefresh_ = false;
    return true;
}

QString DockViewController::groupTypeText(int row) const
{
    return arrOverViewData_.at(static_cast<size_t>(row)).label;
}

QString DockViewController::groupSizeText(int row) const
{
    const TSpInfo& info = arrOverViewData_.at(static_cast<size_t>(row));
    if (info.Files == 0)
        return QStringLiteral("0 Bytes");
    return CommonFuncs::sizeUnitFor(reportUnit(), info.Size);
}

std::optional<ChartColor> DockViewController::groupColor(const QString& sType)
{
    if (sType == QLatin1String("Image Files"))
        return ChartColor{0.5956, 0.8756, 0.9689};
    if (sType == QLatin1String("Document Files"))
        return ChartColor{0.7867, 1, 1};
    if (sType == QLatin1String("Video Files"))
        return ChartColor{1, 0.7689, 0.8889};
    if (sType == QLatin1String("Audio Files"))
        return ChartColor{0.9689, 0.4622, 0.4489};
    if (sType == QLatin1String("Other Files"))
        return ChartColor{1, 0.84, 0.4578};
    return std::nullopt;
}

int DockViewController::detailRowCount() const
{
    return static_cast<int>(std::min<size_t>(arrTopSizeFiles_.size(), kDetailRows));
}

TFoldInfo* DockViewController::detailNode(int row) const
{
    if (row < 0 || row >= detailRowCount())
        return nullptr;
    return arrTopSizeFiles_[static_cast<size_t>(row)];
}

QString DockViewController::detailRankText(int row) const
{
    return TextFormat::format(QStringLiteral("%ld"), {static_cast<qint64>(row) + 1});
}

QString DockViewController::detailNameText(int row) const
{
    const TFoldInfo* node = detailNode(row);
    return node ? node->sName() : QString();
}

QString DockViewController::detailSizeText(int row) const
{
    const TFoldInfo* node = detailNode(row);
    if (!node)
        return {};
    if (node->cSize() == 0)
        return QStringLiteral("--");
    return CommonFuncs::sizeUnitFor(reportUnit(), node->cSize());
}

DockViewController::TabLook DockViewController::tabLook(bool selected)
{
    if (selected)
        return {{0.3098, 0.3059, 0.3294}, 1.0, false};
    return {{0.2627, 0.2627, 0.2902}, 0.7, true};
}
