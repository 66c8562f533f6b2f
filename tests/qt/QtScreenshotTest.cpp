// Every dialog drawn as it opens into screenshots/ of the build folder, with
// the texts it really shows, and laid out so that at its default size it fits
// a small screen, nothing is cut off or overlaps, and its pictures are drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>

#include <filesystem>
#include <functional>

#include "support/TestHost.h"
#include "ui/AboutDialog.h"
#include "ui/BlankImageSettingsDialog.h"
#include "ui/BookmarkPickerDialog.h"
#include "ui/ElementContentDialog.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/PageRangeDialog.h"
#include "ui/SeparatorSearchDialog.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/TextAreaDialog.h"
#include "ui/TextSearchRangeDialog.h"
#include "ui/qt/QtDialogView.h"

namespace tessera {
namespace {

constexpr const char* kWithBookmarks = "hyperref-manual-outline-gotor-launch-named.pdf";
constexpr int kSmallScreenWidth = 1366;

std::string Describe(const QWidget* widget) {
    return widget->metaObject()->className() + (" \"" + widget->property("text").toString().toStdString() + "\"");
}

QRect InWindow(const QWidget* widget, const QWidget& window) {
    return {widget->mapTo(&window, QPoint(0, 0)), widget->size()};
}

// The controls the layout placed: the window's and its group boxes' own
// children (inner parts of a tree or a list are the widget's business).
std::vector<QWidget*> PlacedWidgets(QWidget& window) {
    std::vector<QWidget*> placed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (widget->isVisibleTo(&window) && (parent == &window || qobject_cast<const QGroupBox*>(parent)))
            placed.push_back(widget);
    }
    return placed;
}

void ExpectNothingCutOffOrOverlapping(QWidget& window, const std::string& name) {
    const std::vector<QWidget*> placed = PlacedWidgets(window);
    for (QWidget* widget : placed) {
        const QRect area = InWindow(widget, window);
        EXPECT_TRUE(window.rect().contains(area)) << name << ": " << Describe(widget) << " is outside the window";
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << name << ": " << Describe(widget) << " is cut";
        EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << name << ": " << Describe(widget) << " is cut";
        for (QWidget* other : placed) {
            if (other == widget || other->parentWidget() != widget->parentWidget()) continue;
            EXPECT_FALSE(area.intersects(InWindow(other, window)))
                << name << ": " << Describe(widget) << " overlaps " << Describe(other);
        }
    }
}

// Each picture holds a drawing (more than one colour), and no two look alike.
void ExpectPicturesDrawn(const QtDialogView& view, const Dialog& dialog, const std::string& name) {
    std::vector<QImage> drawn;
    for (const ControlSpec& spec : dialog.Controls()) {
        if (spec.kind != ControlKind::Picture) continue;
        const auto* label = qobject_cast<const QLabel*>(view.Widget(spec.id));
        ASSERT_NE(label, nullptr) << name << ": " << spec.id;
        const QImage image = label->pixmap().toImage();
        bool drawing = false;
        for (int y = 0; y < image.height() && !drawing; ++y)
            for (int x = 0; x < image.width() && !drawing; ++x) drawing = image.pixel(x, y) != image.pixel(0, 0);
        EXPECT_TRUE(drawing) << name << ": picture " << spec.id << " is empty";
        for (const QImage& other : drawn) EXPECT_NE(image, other) << name << ": picture " << spec.id << " is another's";
        drawn.push_back(image);
    }
}

struct Shot {
    const char* name;
    std::function<std::unique_ptr<Dialog>(const DocumentHandle&)> make;
    std::vector<std::vector<ControlId>> columns = {};  // controls that start at one x
};

void ExpectColumnsLinedUp(const QtDialogView& view, const Shot& shot) {
    for (const std::vector<ControlId>& column : shot.columns)
        for (ControlId id : column)
            EXPECT_EQ(InWindow(view.Widget(id), view).x(), InWindow(view.Widget(column.front()), view).x())
                << shot.name << ": " << id << " is out of line with " << column.front();
}

TEST(QtScreenshotTest, EveryDialogIsDrawnWhole) {
    test::TestHost host;
    const DocumentHandle document(host.OpenActive(kWithBookmarks), DocumentHandle::Ownership::Borrowed);
    const int pages = document.PageCount();
    const Shot shots[] = {
        {"SplitSettings",
         [&](const DocumentHandle& d) { return std::make_unique<SplitSettingsDialog>(d, pages, SplitSettingsDialog::Options{false}); }},
        {"PageRange", [&](const DocumentHandle& d) { return std::make_unique<PageRangeDialog>(d, pages); },
         {{1005, 1006, 1001}}},
        {"TextSearchRange", [](const DocumentHandle&) { return std::make_unique<TextSearchRangeDialog>(PageQuery{}); }},
        {"SeparatorSearch", [](const DocumentHandle&) { return std::make_unique<SeparatorSearchDialog>(TextQuery{}); }},
        {"TextArea",
         [](const DocumentHandle&) { return std::make_unique<TextAreaDialog>(PageArea{}, "", kNameAreaMessage); },
         {{1116, 1118}, {1117, 1036}}},
        {"BookmarkPicker", [](const DocumentHandle& d) { return std::make_unique<BookmarkPickerDialog>(d); }},
        {"ElementContent", [](const DocumentHandle&) { return std::make_unique<ElementContentDialog>(PageQuery{}); },
         {{1077, 1079, 1081, 1086, 1084}, {1078, 1080, 1082, 1083, 1085, 1088, 1093, 1090, 1095}}},
        {"BlankImageSettings", [](const DocumentHandle&) { return std::make_unique<BlankImageSettingsDialog>(50); }},
        {"OutputDocumentOptions",
         [](const DocumentHandle&) { return std::make_unique<OutputDocumentOptionsDialog>(true, "Chapter 1"); }},
        {"About", [](const DocumentHandle&) { return std::make_unique<AboutDialog>(); }},
    };
    std::filesystem::create_directories(TESSERA_SCREENSHOTS);
    for (const Shot& shot : shots) {
        const std::unique_ptr<Dialog> dialog = shot.make(document);
        QtDialogView view(*dialog);
        const std::string file = std::string(TESSERA_SCREENSHOTS) + "/" + shot.name + ".png";
        EXPECT_TRUE(view.SaveImage(file)) << file;
        ExpectNothingCutOffOrOverlapping(view, shot.name);
        ExpectPicturesDrawn(view, *dialog, shot.name);
        ExpectColumnsLinedUp(view, shot);
        EXPECT_LE(view.width(), kSmallScreenWidth) << shot.name;
    }
}

// "1.00 in" and "Right:" must not read as one.
TEST(QtScreenshotTest, AShownValueStandsApartFromTheCaptionAfterIt) {
    test::TestHost host;
    SeparatorSearchDialog dialog(TextQuery{});
    QtDialogView view(dialog);
    view.show();
    QApplication::processEvents();
    constexpr ControlId kLeftValue = 1127;
    const QLabel* right = nullptr;
    for (const QLabel* label : view.findChildren<QLabel*>())
        if (label->text() == "Right:") right = label;
    ASSERT_NE(right, nullptr);
    const QRect value = InWindow(view.Widget(kLeftValue), view);
    EXPECT_GE(InWindow(right, view).left() - value.right(), 3 * view.fontMetrics().horizontalAdvance(' '));
}

TEST(QtScreenshotTest, TheSettingsDialogFitsASmallScreen) {
    test::TestHost host;
    const DocumentHandle document(host.OpenActive(kWithBookmarks), DocumentHandle::Ownership::Borrowed);
    SplitSettingsDialog dialog(document, document.PageCount(), {.remembersSettings = false});
    QtDialogView view(dialog);
    // 1366x768, less a panel of the desktop and the window's frame.
    EXPECT_LE(view.width(), kSmallScreenWidth);
    EXPECT_LE(view.height(), 768 - 64);
}

}  // namespace
}  // namespace tessera
