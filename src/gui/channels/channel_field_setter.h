#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <set>
#include <vector>

#include "gui/channels/channel_fields.h"

class QComboBox;
class QLineEdit;
class QStackedWidget;

namespace zt::gui {

struct AppContext;
class ChannelTableModel;

// A field "set for the selected channels" can write: the grid's own columns that take a
// value (offset, tones, scan, optional signalling, spacing) and every extra field the
// channel editor lets the user choose.
struct SettableField {
    QString heading;
    int fieldCode = 0;
    bool offset = false;                  // a typed signed offset instead of a list entry
    const ChannelField* extra = nullptr;  // null for the grid's own columns
    QStringList entries;                  // every entry the list can offer
};
std::vector<SettableField> settableFields(const AppContext& app, const ChannelTableModel& model);

// The window that chooses the field and its value ("frmSetForSelected"): the field list
// ("FieldList"), the value list ("ValueList") or, for the offset, the value box ("ValueBox",
// which takes what the grid's offset cell takes).
class ChannelFieldSetDialog : public QDialog {
    Q_OBJECT
  public:
    ChannelFieldSetDialog(AppContext& app, std::vector<SettableField> fields,
                          QWidget* parent = nullptr);

    const SettableField& field() const;
    // The chosen entry, or the typed offset.
    int entry() const;
    QString offsetText() const;

  private:
    void showValuesOf(int field);

    std::vector<SettableField> fields_;
    QComboBox* fieldList_ = nullptr;
    QComboBox* valueList_ = nullptr;
    QLineEdit* valueBox_ = nullptr;
    QStackedWidget* valueStack_ = nullptr;
};

// Writes one value into a field of the channels of `rows` (0-based rows of the model's
// group) with the rules typing obeys, as one action: every channel that takes the value gets
// it, and the ones that do not are named in one report through the prompt service (rows
// without a channel are said once). Returns the number of channels written.
int setFieldForRows(AppContext& app, const ChannelTableModel& model, const std::set<int>& rows,
                    const SettableField& field, int entry, const QString& offsetText);

}  // namespace zt::gui
