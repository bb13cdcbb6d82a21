#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zt::gui {

struct AppContext;

constexpr int kMinTreePaneTwips = 300;

// The pane left of the child windows (objectName Picture1): the model's name with a close
// button over the function tree, and beside it the splitter handle (CommandMove) that sets
// the pane's width. A click on a function opens its window through `childWindowChosen`.
class FunctionTreePane : public QWidget {
    Q_OBJECT
  public:
    explicit FunctionTreePane(AppContext& app, QWidget* parent = nullptr);

    // The splitter handle; the main window places it right of the pane.
    QWidget* splitterHandle() const;
    // The tree's functions in the current language under the shown model's name; the pane
    // grows to fit the longest one.
    void fillTree();
    // The model's name over the tree and at its root.
    void showModelName(const QString& model);
    // The pane and its splitter handle.
    void setPaneVisible(bool visible);
    // Dragging the splitter by `twips` to the right (negative: left); refused
    // when the pane would be narrower than 300 twips or wider than the inner
    // width. Returns whether it was accepted.
    bool dragSplitter(int twips);
    // Forgets a drag in progress (the button was released elsewhere).
    void releaseSplitter() { splitterDrag_ = false; }

  signals:
    // The close button of the pane was clicked.
    void closeRequested();
    // A function of the tree was clicked: the child window to show (window names).
    void childWindowChosen(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fitToLabels();
    void itemClicked(QTreeWidgetItem* item);

    AppContext& app_;
    QLabel* modelLabel_ = nullptr;
    QTreeWidget* functionTree_ = nullptr;
    QPushButton* splitterHandle_ = nullptr;
    bool splitterDrag_ = false;
};

}  // namespace zt::gui
