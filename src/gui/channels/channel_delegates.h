#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QKeyEvent;

namespace zt::gui {

// The editors of the channel grid's cells, one delegate per kind of column. Each editor keeps
// the objectName the program's rules give it ("Text1", "Text2", "Combo1" .. "Combo5").
// Enter is left to the grid, which writes the entry and moves on (enterPressed); the
// clipboard keys act on the grid's cells, never on the editor's own text.
class ChannelCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;

  signals:
    // Enter in the editor of `index`; editorEmpty tells whether its text was empty.
    void enterPressed(const QModelIndex& index, bool editorEmpty);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Whether a key typed into the editor is refused (swallowed).
    virtual bool refuseKey(QWidget* editor, const QKeyEvent& key) const;
    // Writes the entry on Enter, before the grid moves on.
    virtual void concludeOnEnter(QWidget* editor, const QModelIndex& index) const;
    virtual bool editorEmpty(QWidget* editor) const;
    // The index being edited (one editor at a time).
    mutable QPersistentModelIndex editing_;
};

// Receive frequency ("Text1"): digits and "."; written as "#0.00000" on Enter, and as it
// stands when the user leaves a changed entry.
class FrequencyDelegate : public ChannelCellDelegate {
    Q_OBJECT
  public:
    explicit FrequencyDelegate(QObject* parent = nullptr, bool signedOffset = false)
        : ChannelCellDelegate(parent), signedOffset_(signedOffset)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    bool refuseKey(QWidget* editor, const QKeyEvent& key) const override;
    void concludeOnEnter(QWidget* editor, const QModelIndex& index) const override;
    bool editorEmpty(QWidget* editor) const override;

  private:
    bool signedOffset_;
};

// Transmit column ("Text1"): a signed offset, "+" and "-" taken as well.
class OffsetDelegate : public FrequencyDelegate {
    Q_OBJECT
  public:
    explicit OffsetDelegate(QObject* parent = nullptr) : FrequencyDelegate(parent, true) {}
};

// Channel code ("Text2"): at most 5 capitals and digits; lower-case letters become capitals.
class ChannelCodeDelegate : public ChannelCellDelegate {
    Q_OBJECT
  public:
    using ChannelCellDelegate::ChannelCellDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    bool refuseKey(QWidget* editor, const QKeyEvent& key) const override;
    void concludeOnEnter(QWidget* editor, const QModelIndex& index) const override;
    bool editorEmpty(QWidget* editor) const override;
};

// A drop-down of the column's list entries. Placing it writes nothing; picking an entry from
// the open list writes it at once; an entry typed or stepped to in the closed list is written
// once, when the entry ends (Enter, Tab, leaving the cell).
class ListDelegate : public ChannelCellDelegate {
    Q_OBJECT
  public:
    ListDelegate(QObject* parent, const char* editorName)
        : ChannelCellDelegate(parent), editorName_(editorName)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    void concludeOnEnter(QWidget* editor, const QModelIndex& index) const override;

  private:
    const char* editorName_;
};

// The tone columns: the 265 entries of the tone list ("Combo1").
class ToneListDelegate : public ListDelegate {
    Q_OBJECT
  public:
    explicit ToneListDelegate(QObject* parent = nullptr) : ListDelegate(parent, "Combo1") {}
};

// The flag columns: power, scan list, optional signalling, spacing ("Combo2" .. "Combo5").
class FlagListDelegate : public ListDelegate {
    Q_OBJECT
  public:
    FlagListDelegate(QObject* parent, const char* editorName) : ListDelegate(parent, editorName) {}
};

}  // namespace zt::gui
