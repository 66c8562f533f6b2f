// Every dialog drawn as it opens into screenshots/ of the build folder, and
// laid out so that at its default size nothing is cut off or overlaps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>

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

struct Shot {
    const char* name;
    std::function<std::unique_ptr<Dialog>(const DocumentHandle&)> make;
};

TEST(QtScreenshotTest, EveryDialogIsDrawnWhole) {
    test::TestHost host;
    const DocumentHandle document(host.OpenActive(kWithBookmarks), DocumentHandle::Ownership::Borrowed);
    const int pages = document.PageCount();
    const Shot shots[] = {
        {"SplitSettings",
         [&](const DocumentHandle& d) { return std::make_unique<SplitSettingsDialog>(d, pages, SplitSettingsDialog::Options{false}); }},
        {"PageRange", [&](const DocumentHandle& d) { return std::make_unique<PageRangeDialog>(d, pages); }},
        {"TextSearchRange", [](const DocumentHandle&) { return std::make_unique<TextSearchRangeDialog>(PageQuery{}); }},
        {"SeparatorSearch", [](const DocumentHandle&) { return std::make_unique<SeparatorSearchDialog>(TextQuery{}); }},
        {"TextArea",
         [](const DocumentHandle&) { return std::make_unique<TextAreaDialog>(PageArea{}, "Text From Page", "The area"); }},
        {"BookmarkPicker", [](const DocumentHandle& d) { return std::make_unique<BookmarkPickerDialog>(d); }},
        {"ElementContent", [](const DocumentHandle&) { return std::make_unique<ElementContentDialog>(PageQuery{}); }},
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
    }
}

TEST(QtScreenshotTest, TheSettingsDialogFitsASmallScreen) {
    test::TestHost host;
    const DocumentHandle document(host.OpenActive(kWithBookmarks), DocumentHandle::Ownership::Borrowed);
    SplitSettingsDialog dialog(document, document.PageCount(), {.remembersSettings = false});
    QtDialogView view(dialog);
    // 1366x768, less a panel of the desktop and the window's frame.
    EXPECT_LE(view.width(), 1366);
    EXPECT_LE(view.height(), 768 - 64);
}

}  // namespace
}  // namespace tessera
