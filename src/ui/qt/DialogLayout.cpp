#include "ui/qt/DialogLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTreeWidget>

#include <algorithm>
#include <cstdint>

#include "ui/qt/DialogPictures.h"
#include "ui/qt/PageAreaWidget.h"
#include "ui/qt/ViewServices.h"

namespace tessera {

void SetLabelText(QLabel& label, const QString& text) {
    // About a line of a message box; a longer text would widen the window past the screen.
    constexpr int kWrapFrom = 80;
    label.setWordWrap(text.size() > kWrapFrom);
    label.setText(text);
}
namespace {

using K = ControlKind;

bool IsEdit(K kind) { return kind == K::Edit || kind == K::NumberEdit; }
// Controls whose caption is a label before them rather than their own text.
bool TakesLabel(K kind) { return IsEdit(kind) || kind == K::DropDown || kind == K::Slider || kind == K::Tree; }
bool Grows(K kind) { return kind == K::Edit || kind == K::DropDown || kind == K::Slider || kind == K::Tree; }
bool TakesFocus(K kind) { return kind != K::Text && kind != K::Picture && kind != K::Group && kind != K::Swatch; }

QLineEdit* MakeEdit(const ControlSpec& spec, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (spec.maxLength > 0) edit->setMaxLength(spec.maxLength);
    if (spec.kind == K::NumberEdit) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(6, '0')) + 12);
    }
    return edit;
}

QWidget* MakeWidget(const ControlSpec& spec, QWidget* parent) {
    const QString caption = QString::fromStdString(TheViewServices().caption(spec.caption));
    switch (spec.kind) {
        case K::Edit:
        case K::NumberEdit:
            return MakeEdit(spec, parent);
        case K::CheckBox:
            return new QCheckBox(caption, parent);
        case K::Radio: {
            // Exclusive per group box by the view's own hand, so that the
            // dialog may also leave every radio unchecked.
            auto* radio = new QRadioButton(caption, parent);
            radio->setAutoExclusive(false);
            return radio;
        }
        case K::Button: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(false);
            button->setDefault(spec.id == kOkButton);
            return button;
        }
        case K::DropDown:
            return new QComboBox(parent);
        case K::Tree: {
            auto* tree = new QTreeWidget(parent);
            // Wide enough for a bookmark's title whatever the texts around it
            // (a German legend wraps narrow and took the picker down to 306 px).
            tree->setMinimumWidth(tree->fontMetrics().averageCharWidth() * 64);
            tree->setHeaderHidden(true);
            tree->setExpandsOnDoubleClick(false);
            tree->setContextMenuPolicy(Qt::CustomContextMenu);
            return tree;
        }
        case K::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setTickPosition(QSlider::TicksBelow);
            return slider;
        }
        case K::Group:
            return new QGroupBox(caption, parent);
        case K::Picture: {
            auto* picture = new QLabel(parent);
            picture->setPixmap(PicturePixmap(spec.picture, *parent->style()));
            return picture;
        }
        case K::Swatch: {
            // A frame rather than a label: a label would be lined up as a caption.
            auto* swatch = new QFrame(parent);
            swatch->setFrameShape(QFrame::Box);
            swatch->setFixedSize(swatch->fontMetrics().height() * 2, swatch->fontMetrics().height());
            swatch->setAutoFillBackground(true);
            return swatch;
        }
        case K::PageArea:
            return new PageAreaWidget(parent);
        case K::Text:
            break;
    }
    auto* text = new QLabel(parent);
    SetLabelText(*text, caption);
    return text;
}

struct Row {
    QHBoxLayout* layout = nullptr;
    bool grows = false;
    int okAt = -1;                // where OK sits in the row; the buttons from there go right
    std::vector<QWidget*> items;  // captions and controls, in order
};

bool IsCaption(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
           qobject_cast<const QRadioButton*>(widget);
}

bool EndsWithText(const Row& row) {
    const bool texts = std::all_of(row.items.begin(), row.items.end(),
                                   [](const QWidget* item) { return qobject_cast<const QLabel*>(item) != nullptr; });
    return texts && !row.items.empty() && static_cast<const QLabel*>(row.items.back())->pixmap().isNull();
}

// The captions at one place in their rows take the width of the widest, so
// that what follows them starts at one x: edits under edits, boxes under boxes.
void LineUpCaptions(std::vector<Row>& rows) {
    for (std::size_t at = 0;; ++at) {
        std::vector<QWidget*> captions;
        bool more = false;
        for (const Row& row : rows) {
            more |= row.items.size() > at + 1;
            if (row.items.size() > at + 1 && IsCaption(row.items[at])) captions.push_back(row.items[at]);
        }
        if (!more) return;
        int widest = 0;
        for (const QWidget* caption : captions) widest = std::max(widest, caption->sizeHint().width());
        for (QWidget* caption : captions) caption->setMinimumWidth(widest);
    }
}

// One box of rows: a group box's or the dialog's own loose rows.
struct Column {
    QVBoxLayout* layout = nullptr;
    std::vector<Row> rows;
    int weight = 0;  // how tall it is about to be
    bool hasTree = false;
};

class Builder {
public:
    Builder(QDialog& window, const std::vector<ControlId>& aligned) : window_(window), aligned_(aligned) {}

    void Add(const ControlSpec& spec) {
        if (spec.kind == K::Group) return AddGroup(spec);
        QWidget* parent = spec.group ? boxes_.at(spec.group) : static_cast<QWidget*>(&window_);
        QWidget* widget = MakeWidget(spec, parent);
        Row& row = RowFor(spec);
        QLabel* label = nullptr;
        if (TakesLabel(spec.kind) && !spec.caption.empty()) {
            label = new QLabel(QString::fromStdString(TheViewServices().caption(spec.caption)), parent);
            label->setBuddy(widget);
            AddToRow(row, label, 0);
        }
        if (spec.id == kOkButton) row.okAt = row.layout->count();
        AddToRow(row, widget, Grows(spec.kind) ? 1 : 0);
        row.grows |= Grows(spec.kind);
        Column& column = columns_.at(spec.group);
        column.weight += spec.kind == K::Tree ? 8 : spec.beside ? 0 : 1;
        column.hasTree |= spec.kind == K::Tree;
        // A fixed text leads the keyboard to the control after it, as its mnemonic says.
        if (pendingLabel_ && TakesFocus(spec.kind)) pendingLabel_->setBuddy(widget);
        if (TakesFocus(spec.kind)) pendingLabel_ = nullptr;
        if (spec.kind == K::Text) pendingLabel_ = static_cast<QLabel*>(widget);
        if (spec.id != 0) controls_[spec.id] = {spec.kind, widget, label, spec.group};
    }

    DialogControls Finish() {
        for (auto& [group, column] : columns_) {
            if (std::find(aligned_.begin(), aligned_.end(), group) != aligned_.end()) LineUpCaptions(column.rows);
            for (Row& row : column.rows) {
                if (row.okAt >= 0) row.layout->insertStretch(row.okAt, 1);
                // A text that ends a row of texts and pictures takes the row's
                // width: a long one wraps there rather than in a narrow column.
                else if (EndsWithText(row))
                    row.layout->setStretchFactor(row.items.back(), 1);
                else if (!row.grows)
                    row.layout->addStretch(1);
            }
        }
        auto* main = new QVBoxLayout(&window_);
        const std::size_t firstGroup = std::min(firstGroup_, order_.size());
        for (std::size_t i = 0; i < firstGroup; ++i) AddItem(*main, order_[i]);
        if (groups_.size() >= 3)
            AddColumns(*main);
        else
            for (ControlId group : groups_) AddItem(*main, group);
        for (std::size_t i = firstGroup; i < order_.size(); ++i)
            if (!boxes_.count(order_[i])) AddItem(*main, order_[i]);
        return controls_;
    }

private:
    void AddToRow(Row& row, QWidget* widget, int stretch) {
        // A caption after a text of the row stands apart from it, or the two
        // read as one ("1.00 in Right:").
        const auto* before = row.items.empty() ? nullptr : qobject_cast<QLabel*>(row.items.back());
        if (before && before->pixmap().isNull() && qobject_cast<QLabel*>(widget))
            row.layout->addSpacing(3 * row.layout->spacing() + 12);
        row.layout->addWidget(widget, stretch);
        row.items.push_back(widget);
    }

    void AddGroup(const ControlSpec& spec) {
        auto* box = static_cast<QGroupBox*>(MakeWidget(spec, &window_));
        boxes_[spec.id] = box;
        columns_[spec.id].layout = new QVBoxLayout(box);
        groups_.push_back(spec.id);
        firstGroup_ = std::min(firstGroup_, order_.size());
        order_.push_back(spec.id);
        controls_[spec.id] = {spec.kind, box, nullptr, 0};
    }

    Row& RowFor(const ControlSpec& spec) {
        Column& column = columns_[spec.group];
        if (spec.beside && !column.rows.empty()) return column.rows.back();
        auto* layout = new QHBoxLayout;
        if (spec.group != 0)
            column.layout->addLayout(layout);
        else
            order_.push_back(-static_cast<ControlId>(column.rows.size()) - 1);  // a loose row, by its index
        column.rows.emplace_back().layout = layout;
        return column.rows.back();
    }

    // A group box, or a loose row named by its negative index.
    void AddItem(QVBoxLayout& into, ControlId item) {
        if (item >= 0) {
            into.addWidget(boxes_.at(item), columns_.at(item).hasTree ? 1 : 0);
            return;
        }
        into.addLayout(columns_[0].rows.at(static_cast<std::size_t>(-item - 1)).layout);
    }

    // The group boxes in table order, the first ones on the left until about half the height.
    void AddColumns(QVBoxLayout& main) {
        int total = 0;
        for (ControlId group : groups_) total += columns_.at(group).weight;
        auto* sides = new QHBoxLayout;
        QVBoxLayout* side[2] = {new QVBoxLayout, new QVBoxLayout};
        bool sideHasTree[2] = {false, false};
        int left = 0;
        for (ControlId group : groups_) {
            const int at = left * 2 < total ? 0 : 1;
            if (at == 0) left += columns_.at(group).weight;
            AddItem(*side[at], group);
            sideHasTree[at] |= columns_.at(group).hasTree;
        }
        for (int i = 0; i < 2; ++i) {
            if (!sideHasTree[i]) side[i]->addStretch(1);
            sides->addLayout(side[i], 1);
        }
        main.addLayout(sides, 1);
    }

    QDialog& window_;
    const std::vector<ControlId>& aligned_;
    DialogControls controls_;
    std::map<ControlId, QGroupBox*> boxes_;
    std::map<ControlId, Column> columns_{{0, Column{}}};
    std::vector<ControlId> groups_;
    std::vector<ControlId> order_;  // group ids and loose rows, in table order
    std::size_t firstGroup_ = SIZE_MAX;
    QLabel* pendingLabel_ = nullptr;
};

}  // namespace

DialogControls LayOutControls(QDialog& window, const std::vector<ControlSpec>& specs,
                              const std::vector<ControlId>& aligned) {
    Builder builder(window, aligned);
    for (const ControlSpec& spec : specs) builder.Add(spec);
    return builder.Finish();
}

}  // namespace tessera
