#include "ui/qt/QtDialogView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>

#include "ui/qt/DialogPictures.h"
#include "ui/qt/PageAreaWidget.h"
#include "ui/qt/PlanWindow.h"
#include "ui/qt/ViewServices.h"

namespace tessera {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

template <typename W>
W* As(const DialogControls& controls, ControlId id) {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : qobject_cast<W*>(found->second.widget);
}

bool IsSwatch(const DialogControls& controls, ControlId id) {
    const auto found = controls.find(id);
    return found != controls.end() && found->second.kind == ControlKind::Swatch;
}

constexpr const char* kSwatchColour = "swatchColour";

// The colour a swatch shows, kept as given so that the dialog reads back its own text.
void Paint(QWidget& swatch, const QString& colour) {
    QPalette palette = swatch.parentWidget()->palette();
    if (QColor(colour).isValid()) palette.setColor(QPalette::Window, QColor(colour));
    swatch.setPalette(palette);
    swatch.setProperty(kSwatchColour, colour);
    swatch.setToolTip(colour);
}

void AddNodes(const std::vector<TreeNode>& nodes, QTreeWidgetItem* parent, QTreeWidget& tree) {
    for (const TreeNode& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&tree);
        item->setText(0, Q(node.text));
        item->setIcon(0, PictureIcon(node.icon, *tree.style()));
        AddNodes(node.children, item, tree);
        item->setExpanded(node.expanded);
    }
}

QTreeWidgetItem* ItemAt(QTreeWidget& tree, const TreePath& path) {
    QTreeWidgetItem* item = nullptr;
    for (int index : path) {
        item = item ? item->child(index) : tree.topLevelItem(index);
        if (!item) return nullptr;
    }
    return item;
}

}  // namespace

QtDialogView::QtDialogView(Dialog& dialog, QWidget* parent, Driver driver)
    : QDialog(parent), dialog_(dialog), driver_(std::move(driver)) {
    setWindowTitle(Q(TheViewServices().caption(dialog.Caption())));
    controls_ = LayOutControls(*this, dialog.Controls(), dialog.AlignedGroups());
    for (const auto& [id, control] : controls_) Connect(id, control);
    ++filling_;
    dialog_.Open(*this);
    --filling_;
    ShowTooltips();
    adjustSize();
}

QWidget* QtDialogView::Widget(ControlId id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.widget;
}

void QtDialogView::Connect(ControlId id, const DialogControl& control) {
    QWidget* w = control.widget;
    const auto tell = [this, id] { Tell(id); };
    switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::NumberEdit:
            connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, this, tell);
            break;
        case ControlKind::CheckBox:
        case ControlKind::Radio:
        case ControlKind::Button:
            connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this, [this, id] { Clicked(id); });
            break;
        case ControlKind::DropDown:
            connect(static_cast<QComboBox*>(w), &QComboBox::activated, this, tell);
            break;
        case ControlKind::Slider:
            connect(static_cast<QSlider*>(w), &QSlider::valueChanged, this, [this, id] {
                if (!filling_) Tell(id);
            });
            break;
        case ControlKind::Tree:
            ConnectTree(id, w);
            break;
        case ControlKind::PageArea:
            static_cast<PageAreaWidget*>(w)->onDrawn = tell;
            break;
        default:
            break;
    }
}

void QtDialogView::ConnectTree(ControlId id, QWidget* widget) {
    auto* tree = static_cast<QTreeWidget*>(widget);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, [this, id] {
        if (!filling_) Tell(id);
    });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, id] {
        dialog_.Activated(id);
        ShowTooltips();
    });
    connect(tree, &QWidget::customContextMenuRequested, this,
            [this, id](const QPoint& at) { ShowContextMenu(id, at); });
    auto* del = new QShortcut(QKeySequence::Delete, tree, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [this, id] {
        dialog_.DeletePressed(id);
        ShowTooltips();
    });
}

void QtDialogView::Tell(ControlId id) {
    dialog_.Changed(id);
    ShowTooltips();
}

// Tooltips follow the fields some of them show (the output folder's).
void QtDialogView::ShowTooltips() {
    for (const auto& [id, control] : controls_) control.widget->setToolTip(Q(dialog_.Tooltip(id)));
}

void QtDialogView::Clicked(ControlId id) {
    if (id == kOkButton) {
        PressOk();
        return;
    }
    if (id == kCancelButton) return reject();
    const DialogControl& clicked = controls_.at(id);
    if (clicked.kind == ControlKind::Radio) {
        for (const auto& [other, control] : controls_)
            if (control.kind == ControlKind::Radio && control.group == clicked.group)
                static_cast<QAbstractButton*>(control.widget)->setChecked(other == id);
    }
    Tell(id);
}

bool QtDialogView::PressOk() {
    if (!Enabled(kOkButton) || !dialog_.Accept()) return false;
    accept();
    return true;
}

void QtDialogView::reject() {
    if (!rejected_) dialog_.Reject();
    rejected_ = true;
    QDialog::reject();
}

void QtDialogView::ShowContextMenu(ControlId id, const QPoint& at) {
    auto* tree = As<QTreeWidget>(controls_, id);
    if (QTreeWidgetItem* item = tree->itemAt(at)) tree->setCurrentItem(item);
    const std::vector<MenuEntry> entries = dialog_.ContextMenu(id);
    if (entries.empty()) return;
    QMenu menu(this);
    for (const MenuEntry& entry : entries) {
        if (entry.text.empty())
            menu.addSeparator();
        else
            menu.addAction(Q(entry.text))->setData(entry.command);
    }
    if (QAction* chosen = menu.exec(tree->viewport()->mapToGlobal(at))) Tell(chosen->data().toInt());
}

bool QtDialogView::Run() {
    if (dialog_.ClosesAtOnce()) return false;
    if (driver_) QTimer::singleShot(0, this, [this] { driver_(*this); });
    return exec() == QDialog::Accepted;
}

bool QtDialogView::SaveImage(const std::string& path) {
    show();
    QApplication::processEvents();
    const bool saved = grab().save(Q(path), "PNG");
    hide();
    return saved;
}

void QtDialogView::SetTitle(const std::string& title) { setWindowTitle(Q(title)); }

void QtDialogView::SetText(ControlId id, const std::string& text) {
    ++filling_;
    if (IsSwatch(controls_, id))
        Paint(*controls_.at(id).widget, Q(text));
    else if (auto* label = As<QLabel>(controls_, id))
        SetLabelText(*label, Q(text));
    else if (auto* edit = As<QLineEdit>(controls_, id))
        edit->setText(Q(text));
    else if (auto* button = As<QAbstractButton>(controls_, id))
        button->setText(Q(text));
    else if (auto* box = As<QGroupBox>(controls_, id))
        box->setTitle(Q(text));
    else if (auto* list = As<QComboBox>(controls_, id))
        list->setCurrentText(Q(text));
    --filling_;
}

std::string QtDialogView::Text(ControlId id) const {
    QString text;
    if (IsSwatch(controls_, id))
        text = controls_.at(id).widget->property(kSwatchColour).toString();
    else if (auto* label = As<QLabel>(controls_, id))
        text = label->text();
    else if (auto* edit = As<QLineEdit>(controls_, id))
        text = edit->text();
    else if (auto* button = As<QAbstractButton>(controls_, id))
        text = button->text();
    else if (auto* box = As<QGroupBox>(controls_, id))
        text = box->title();
    else if (auto* list = As<QComboBox>(controls_, id))
        text = list->currentText();
    return text.toStdString();
}

void QtDialogView::SetChecked(ControlId id, bool checked) {
    if (auto* button = As<QAbstractButton>(controls_, id)) button->setChecked(checked);
}

bool QtDialogView::Checked(ControlId id) const {
    auto* button = As<QAbstractButton>(controls_, id);
    return button && button->isChecked();
}

void QtDialogView::SetEnabled(ControlId id, bool enabled) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return;
    found->second.widget->setEnabled(enabled);
    if (found->second.label) found->second.label->setEnabled(enabled);
}

bool QtDialogView::Enabled(ControlId id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() && found->second.widget->isEnabledTo(const_cast<QtDialogView*>(this));
}

void QtDialogView::SetVisible(ControlId id, bool visible) {
    const auto found = controls_.find(id);
    if (found == controls_.end()) return;
    found->second.widget->setVisible(visible);
    if (found->second.label) found->second.label->setVisible(visible);
}

void QtDialogView::FillList(ControlId id, const std::vector<ListEntry>& entries) {
    auto* list = As<QComboBox>(controls_, id);
    if (!list) return;
    ++filling_;
    list->clear();
    // Choices are captions too, in the user's language.
    for (const ListEntry& entry : entries) list->addItem(Q(TheViewServices().caption(entry.text)), entry.data);
    list->setCurrentIndex(-1);
    --filling_;
}

void QtDialogView::SelectListData(ControlId id, int data) {
    if (auto* list = As<QComboBox>(controls_, id)) list->setCurrentIndex(list->findData(data));
}

std::optional<int> QtDialogView::SelectedListData(ControlId id) const {
    auto* list = As<QComboBox>(controls_, id);
    if (!list || list->currentIndex() < 0) return std::nullopt;
    return list->currentData().toInt();
}

void QtDialogView::SetSlider(ControlId id, const SliderSpec& spec, int value) {
    auto* slider = As<QSlider>(controls_, id);
    if (!slider) return;
    ++filling_;
    slider->setRange(spec.minimum, spec.maximum);
    slider->setTickInterval(spec.tick);
    slider->setPageStep(spec.pageStep);
    slider->setValue(value);
    --filling_;
}

int QtDialogView::SliderValue(ControlId id) const {
    auto* slider = As<QSlider>(controls_, id);
    return slider ? slider->value() : 0;
}

void QtDialogView::ShowTree(ControlId id, const std::vector<TreeNode>& roots, const TreePath& selected) {
    auto* tree = As<QTreeWidget>(controls_, id);
    if (!tree) return;
    ++filling_;
    tree->clear();
    AddNodes(roots, nullptr, *tree);
    if (QTreeWidgetItem* item = ItemAt(*tree, selected)) {
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
    }
    --filling_;
}

TreePath QtDialogView::SelectedTreeItem(ControlId id) const {
    auto* tree = As<QTreeWidget>(controls_, id);
    const QList<QTreeWidgetItem*> selected = tree ? tree->selectedItems() : QList<QTreeWidgetItem*>{};
    TreePath path;
    for (QTreeWidgetItem* item = selected.value(0); item; item = item->parent())
        path.insert(path.begin(),
                    item->parent() ? item->parent()->indexOfChild(item) : tree->indexOfTopLevelItem(item));
    return path;
}

bool QtDialogView::RunModal(Dialog& dialog) {
    QtDialogView child(dialog, this, driver_);
    return child.Run();
}

// The host's alert, as every message of the plug-in is shown on this host.
void QtDialogView::ShowMessage(const std::string& text) { TheViewServices().alert(text); }

bool QtDialogView::AskYesNo(const std::string& title, const std::string& text) {
    return QMessageBox::question(this, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDialogView::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtDialogView::ShowPageArea(ControlId id, const host::PageImage& picture, const std::optional<PixelRect>& area) {
    if (auto* widget = dynamic_cast<PageAreaWidget*>(Widget(id))) widget->Show(picture, area);
}

std::optional<PixelRect> QtDialogView::DrawnArea(ControlId id) const {
    const auto* widget = dynamic_cast<const PageAreaWidget*>(Widget(id));
    return widget ? widget->Drawn() : std::nullopt;
}

// Beside the dialog, never over it: on a screen too narrow for both (the
// settings take 1160 of 1366 pixels) the dialog moves to the left edge and
// the plan takes what is left, a strip one page wide; only where even that
// is not left does it cover the dialog's right edge.
void QtDialogView::PlaceBeside(QWidget& window) {
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    constexpr int kGap = 4;
    const int wanted = window.width(), least = PlanWindow::kLeastWidth;
    if (screen.right() - frameGeometry().right() - kGap < wanted && frameGeometry().left() > screen.left())
        move(pos() - QPoint(frameGeometry().left() - screen.left(), 0));
    const int room = screen.right() - frameGeometry().right() - kGap;
    const int width = std::clamp(room, least, wanted);
    // Over the dialog's edge it stops above the row of OK and Cancel.
    constexpr int kButtonRow = 72;
    window.resize(width, frameGeometry().height() - (room < least ? kButtonRow : 0));
    window.move(std::min(frameGeometry().right() + kGap, screen.right() - width), frameGeometry().top());
}

void QtDialogView::ShowPlan(const PlanPreview& plan) {
    if (!plan_) {
        plan_ = new PlanWindow(this);
        PlaceBeside(*plan_);
        if (isVisible()) plan_->show();
    }
    plan_->Show(plan);
}

void QtDialogView::Debounce(int key, int milliseconds, const std::function<void()>& work) {
    QTimer*& timer = waiting_[key];
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
    }
    timer->disconnect();
    connect(timer, &QTimer::timeout, this, work);
    timer->start(milliseconds);
}

}  // namespace tessera
