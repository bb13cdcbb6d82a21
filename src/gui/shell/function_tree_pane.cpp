#include "gui/shell/function_tree_pane.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/widgets/twips.h"
#include "gui/window_names.h"

namespace zt::gui {
namespace {

constexpr const char* kTreeCloseKey = "删除";
constexpr int kWindowRole = Qt::UserRole + 1;

}  // namespace

FunctionTreePane::FunctionTreePane(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("Picture1");
    setFixedWidth(190);
    auto* frame = new QFrame(this);
    frame->setObjectName("Frame1");
    frame->setFrameShape(QFrame::StyledPanel);
    auto* paneLayout = new QVBoxLayout(this);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->addWidget(frame);

    modelLabel_ = new QLabel(frame);
    modelLabel_->setObjectName("Label1");
    QFont bold = modelLabel_->font();
    bold.setBold(true);
    modelLabel_->setFont(bold);
    auto* paneToolbar = new QToolBar(frame);
    paneToolbar->setObjectName("Toolbar1");
    paneToolbar->setIconSize(QSize(12, 12));
    QAction* closePane =
        paneToolbar->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString());
    closePane->setObjectName("Toolbar1Close");
    closePane->setData(QString::fromUtf8(kTreeCloseKey));
    connect(closePane, &QAction::triggered, this, [this, closePane] {
        if (closePane->data().toString() == QString::fromUtf8(kTreeCloseKey)) emit closeRequested();
    });
    functionTree_ = new QTreeWidget(frame);
    functionTree_->setObjectName("TreeView1");
    functionTree_->setHeaderHidden(true);
    functionTree_->setColumnCount(1);
    connect(functionTree_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { itemClicked(item); });

    auto* title = new QHBoxLayout;
    title->setContentsMargins(4, 2, 0, 2);
    title->addWidget(modelLabel_, 1);
    title->addWidget(paneToolbar);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    frameLayout->addLayout(title);
    frameLayout->addWidget(functionTree_, 1);

    // A sibling of the pane where it has a parent (the main window lays both out in a row).
    splitterHandle_ = new QPushButton(parent ? parent : this);
    splitterHandle_->setObjectName("CommandMove");
    splitterHandle_->setFixedWidth(5);
    splitterHandle_->setFocusPolicy(Qt::NoFocus);
    splitterHandle_->setFlat(true);
    splitterHandle_->setCursor(Qt::SizeHorCursor);
    splitterHandle_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    splitterHandle_->installEventFilter(this);
}

QWidget* FunctionTreePane::splitterHandle() const
{
    return splitterHandle_;
}

void FunctionTreePane::fillTree()
{
    functionTree_->clear();
    auto* root = new QTreeWidgetItem(functionTree_, {modelLabel_->text()});
    root->setData(0, Qt::UserRole, "N0");
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    struct Node {
        const char* key;
        int textId;
        const char* window;
    };
    const Node nodes[] = {{"N1", text::main::TreeNodeChannelInformation, window::CommChInfo},
                          {"N2", text::main::TreeNodeOptionalFeatures, window::OptFeatures},
                          {"N4", text::main::TreeNodeDtmf, window::Dtmf},
                          {"N13", text::main::TreeNodeResetMode, window::ResetMode},
                          {"N12", text::main::TreeNodeToneTips, window::ToneTips},
                          {"N6", text::main::TreeNodeEmbeddedMessage, window::EmbMsg},
                          {"N7", text::main::TreeNodeRadioInformation, window::RadioInfo}};
    for (const Node& n : nodes) {
        auto* item = new QTreeWidgetItem(root, {app_.text(n.textId)});
        item->setData(0, Qt::UserRole, QString::fromLatin1(n.key));
        item->setData(0, kWindowRole, QString::fromLatin1(n.window));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    root->setExpanded(true);
    fitToLabels();
}

void FunctionTreePane::itemClicked(QTreeWidgetItem* item)
{
    // The root (the model's name) opens nothing.
    if (!item) return;
    const QString name = item->data(0, kWindowRole).toString();
    if (!name.isEmpty()) emit childWindowChosen(name);
}

void FunctionTreePane::showModelName(const QString& model)
{
    modelLabel_->setText(model);
    if (functionTree_->topLevelItemCount() > 0) functionTree_->topLevelItem(0)->setText(0, model);
}

void FunctionTreePane::fitToLabels()
{
    // The pane is wide enough for its longest label in the current language.
    const QFontMetrics metrics(functionTree_->font());
    const int icon = functionTree_->iconSize().isValid() ? functionTree_->iconSize().width() : 16;
    int widest = 0;
    QTreeWidgetItem* root = functionTree_->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(root->child(i)->text(0)));
    // Two levels of indentation, the icon, the frame and a little air.
    const int labels =
        widest + 2 * functionTree_->indentation() + icon + 2 * functionTree_->frameWidth() + 24;
    const int wanted = std::max(190, labels);
    if (width() < wanted) setFixedWidth(wanted);
}

void FunctionTreePane::setPaneVisible(bool visible)
{
    setVisible(visible);
    splitterHandle_->setVisible(visible);
}

bool FunctionTreePane::dragSplitter(int twips)
{
    const int newWidth = pixelsToTwips(width()) + twips;
    // The inner width: the row that holds the pane, its handle and the child windows.
    const int inner = pixelsToTwips(parentWidget()->width());
    if (newWidth < kMinTreePaneTwips || newWidth > inner) return false;
    setFixedWidth(twipsToPixels(newWidth));
    return true;
}

bool FunctionTreePane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == splitterHandle_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                splitterDrag_ = true;
                return true;
            case QEvent::MouseButtonRelease:
                splitterDrag_ = false;
                return true;
            case QEvent::MouseMove:
                if (splitterDrag_) {
                    const auto* me = static_cast<QMouseEvent*>(event);
                    dragSplitter(pixelsToTwips(qRound(me->position().x())));
                }
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zt::gui
