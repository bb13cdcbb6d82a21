#include "gui/channels/placeholder_comm_ch_info.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/values/frequency.h"
#include "gui/app_context.h"
#include "gui/text_codec.h"

namespace zt::gui {

PlaceholderCommChInfo::PlaceholderCommChInfo(AppContext& app, QWidget* parent)
    : QWidget(parent), app_(app)
{
    setObjectName("frmCommChInfo");
    grid_ = new QTableWidget(this);
    grid_->setObjectName("MSFlexGrid1");
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(560, 360);
    applyLanguageTexts();
}

void PlaceholderCommChInfo::applyLanguageTexts()
{
    setWindowTitle(app_.text(12001));
    reShowGrid();
}

void PlaceholderCommChInfo::reShowGrid()
{
    const RadioDocument& doc = app_.documents.working();
    const int count =
        std::clamp<int>(doc.Data.ChannelCount, 0, static_cast<int>(doc.Channels.size()));
    std::vector<const ChannelRecord*> rows;
    for (int i = 0; i < count; ++i) rows.push_back(&doc.Channels[static_cast<std::size_t>(i)]);
    std::sort(rows.begin(), rows.end(),
              [](const ChannelRecord* a, const ChannelRecord* b) { return a->ChNo < b->ChNo; });

    grid_->clear();
    grid_->setColumnCount(3);
    grid_->setHorizontalHeaderLabels({"CH", "RX (MHz)", "Offset"});
    grid_->setRowCount(static_cast<int>(rows.size()));
    int r = 0;
    for (const ChannelRecord* rec : rows) {
        const RxDisplay rx = rxStoredToDisplay(rec->RxFre.cut(), app_.state.Limits);
        grid_->setItem(r, 0, new QTableWidgetItem(QString::number(rec->ChNo)));
        grid_->setItem(r, 1, new QTableWidgetItem(fromRecordText(rx.text)));
        grid_->setItem(r, 2,
                       new QTableWidgetItem(
                           fromRecordText(offsetDisplay(rec->OffsetFre.cut(), rec->ShiftDir))));
        ++r;
    }
}

}  // namespace zt::gui
