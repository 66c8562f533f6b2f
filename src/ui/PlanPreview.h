#pragma once
// The plan the settings window shows beside its fields: the outputs the
// settings as they stand would make of the document and where each page
// goes, from the same planner as --dry-run, with why each output and each
// dropped page is there.
#include <functional>
#include <string>
#include <vector>

#include "access/DocumentHandle.h"
#include "host/PagePixelServices.h"
#include "host/PlanPlaces.h"
#include "model/SplitSettings.h"

namespace tessera {

struct PreviewOutput {
    std::string file;  // its name in the output folder
    std::string why;   // what made it, as a tooltip says it
    int pages = 0;
    // Its name in a hand-made list: the name of its own it has (a bookmark's
    // title, a value, a hand-made output's name); empty where the settings name it.
    std::string handName;
};

struct PreviewPlace {
    host::PlanPlace place;  // without its account entry, which the preview does not keep
    std::string why;        // a dropped page's reason, kind and value; empty for the others
};

struct PlanPreview {
    enum class State { Planned, Refused, Waiting, Planning } state = State::Waiting;
    // Refused: why; Waiting: what a click on "Plan" would start; Planning: that it runs.
    std::string message;
    std::vector<PreviewOutput> outputs;
    std::vector<PreviewPlace> places;
    // "4 outputs, 58 pages in them; 3 dropped; 2 in no output" and the plan's warnings.
    std::string summary;
    std::vector<std::string> warnings;
    // The 1-based page drawn to fit in width × height pixels; an empty
    // picture, and why in `reason`, where it cannot be. Never throws: the
    // windows are a module of their own.
    std::function<host::PageImage(int page, int width, int height, std::string& reason)> picture;
    // Plans again, reading every page where the method does.
    std::function<void()> planNow;
    // Cuts by hand: between place `before` and the next (made or taken
    // away), and an output's new name; each turns the plan into a hand-made
    // list first, where the user agrees.
    std::function<void(std::size_t before)> toggleCut;
    std::function<void(int output, const std::string& name)> rename;
    // The window's own words, in the user's language.
    struct Words {
        std::string title, button, noPages, inNoOutput, cannotDraw;
    } words;
};

// Whether planning the settings reads how pages look or their text on every
// page (separators, values), which takes long enough that the window plans
// only when asked.
bool PlanReadsEveryPage(const SplitSettings& settings);

// The window's words in the user's language.
PlanPreview::Words PlanWords();

// The plan for the settings (as the dialog holds them) over the document;
// what the planner would have said in message boxes goes into the preview.
PlanPreview MakePlanPreview(const SplitSettings& fields, const DocumentHandle& document);

}  // namespace tessera
