#include "gui/interop/import_preview_texts.h"

#include <array>

#include "core/text_ids.h"
#include "core/values/tones.h"
#include "gui/app_context.h"

namespace zt::gui {
namespace {

// The entry of a list the channel windows show, or the number itself for a value the
// list does not have (so an odd stored value is visible rather than hidden).
template <std::size_t N>
QString listEntry(const AppContext& app, const std::array<int, N>& ids, int value)
{
    if (value >= 0 && value < static_cast<int>(N))
        return app.text(ids[static_cast<std::size_t>(value)]);
    return QString::number(value);
}

}  // namespace

QString fieldCaption(const AppContext& app, ChannelField field)
{
    switch (field) {
        case ChannelField::RxFrequency:
            return app.text(text::channelinfo::GridHeadingReceiveFrequency);
        case ChannelField::Offset:
            return app.text(text::channelinfo::GridHeadingSignedTransmitOffset);
        case ChannelField::DecodeTone:
            return app.text(text::channelinfo::GridHeadingDecodeTone);
        case ChannelField::EncodeTone:
            return app.text(text::channelinfo::GridHeadingEncodeTone);
        case ChannelField::ScanSkip:
            return app.text(text::channelinfo::GridHeadingScanList);
        case ChannelField::Modulation:
            return app.text(text::channeledit::LabelModulationAMFM);
        case ChannelField::Spacing:
            return app.text(text::channelinfo::GridHeadingChannelSpacing);
        case ChannelField::TxInhibit:
            return app.text(text::channeledit::CheckBoxTransmitInhibit);
        case ChannelField::BusyChannelLock:
            return app.text(text::channeledit::LabelBusyChannelLock);
    }
    return QString();
}

QString fieldValueText(const AppContext& app, const FieldChange& change, bool after)
{
    const int value = after ? change.afterIndex : change.beforeIndex;
    switch (change.field) {
        case ChannelField::RxFrequency:
        case ChannelField::Offset:
            return QString::fromStdString(after ? change.after : change.before);
        case ChannelField::DecodeTone:
        case ChannelField::EncodeTone:
            if (value == 0) return app.text(text::channelinfo::ListEntryNoToneNoneOff);
            if (const std::string tone = toneText(value); !tone.empty())
                return QString::fromStdString(tone);
            return QString::number(value);
        case ChannelField::ScanSkip:
            return listEntry<2>(app,
                                {text::channelinfo::ScanListEntry0ChannelIsScanned,
                                 text::channelinfo::ScanListEntry1ChannelIsSkipped},
                                value);
        case ChannelField::Modulation:
            return listEntry<2>(
                app, {text::channeledit::ModulationEntry0, text::channeledit::ModulationEntry1},
                value);
        case ChannelField::Spacing:
            return listEntry<3>(app,
                                {text::channelinfo::SpacingEntry0, text::channelinfo::SpacingEntry1,
                                 text::channelinfo::SpacingEntry2},
                                value);
        case ChannelField::TxInhibit:
            return listEntry<2>(app, {text::msg::FlagNo, text::msg::FlagYes}, value);
        case ChannelField::BusyChannelLock:
            return listEntry<3>(app,
                                {text::channeledit::ListEntryOffNone,
                                 text::channeledit::BusyLockSquelchModeEntry1Carrier,
                                 text::channeledit::BusyLockSquelchModeEntry2CTCSSDCSTone},
                                value);
    }
    return QString();
}

QString rowProblemText(const AppContext& app, RowProblem problem)
{
    switch (problem) {
        case RowProblem::BadLocation:
            return app.text(text::channelinfo::RowReasonBadLocation);
        case RowProblem::DuplicateLocation:
            return app.text(text::channelinfo::RowReasonDuplicateLocation);
        case RowProblem::BadNumber:
            return app.text(text::channelinfo::RowReasonBadNumber);
        case RowProblem::OutOfBand:
            return app.text(text::channelinfo::RowReasonOutOfBand);
        case RowProblem::OffRaster:
            return app.text(text::channelinfo::RowReasonOffRaster);
        case RowProblem::BadTone:
            return app.text(text::channelinfo::RowReasonBadTone);
        case RowProblem::BadValue:
            return app.text(text::channelinfo::RowReasonBadValue);
        case RowProblem::LockedGroup:
            return app.text(text::channelinfo::RowReasonLockedGroup);
        case RowProblem::UnterminatedQuote:
            return app.text(text::channelinfo::RowReasonUnterminatedQuote);
        case RowProblem::MissingColumn:
            return app.text(text::channelinfo::RowReasonMissingColumn);
        case RowProblem::NoFreeRow:
            return app.text(text::channelinfo::RowReasonNoFreeRow);
        case RowProblem::EmptyFile:
            return app.text(text::channelinfo::RowReasonEmptyFile);
        case RowProblem::Utf16Text:
            return app.text(text::channelinfo::RowReasonUtf16Text);
        case RowProblem::NotText:
            return app.text(text::channelinfo::RowReasonNotText);
        case RowProblem::CarriageReturnOnly:
            return app.text(text::channelinfo::RowReasonCarriageReturnOnly);
        case RowProblem::Semicolons:
            return app.text(text::channelinfo::RowReasonSemicolons);
    }
    return QString();
}

}  // namespace zt::gui
