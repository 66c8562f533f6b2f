#include "shell/SplitBatchCommand.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/ProfileCabinet.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"
#include "ui/MemoryView.h"
#include "ui/ModalDialogs.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {
namespace {

using host::Cabinet;
using host::CommandStatus;

class SplitBatchCommandTest : public testing::Test {
protected:
    SplitBatchCommandTest() { InstallBatchCommand(); }
    ~SplitBatchCommandTest() override {
        RemoveBatchCommand();
        SetModalRunner(nullptr);
    }
    host::CommandId NewCommand() { return batch.NewCommand(kSplitCommandName); }

    test::TestHost host;
    app::CommandRegistry& batch = host.runtime.Batch();
    const host::CommandHandler& handler = SplitBatchHandler();
};

// The keys of a cabinet and of the cabinets inside it, as paths.
std::vector<std::string> KeyPaths(const Cabinet& cabinet, const std::string& prefix = "") {
    std::vector<std::string> paths;
    for (const auto& [key, value] : cabinet.Entries()) {
        paths.push_back(prefix + key);
        if (const auto* box = std::get_if<host::CabinetBox>(&value)) {
            const auto inner = KeyPaths(box->Get(), prefix + key + "/");
            paths.insert(paths.end(), inner.begin(), inner.end());
        }
    }
    return paths;
}

TEST_F(SplitBatchCommandTest, PropertiesAndParametersAnswerAsTheHostAsks) {
    const host::CommandId command = NewCommand();
    Cabinet all;
    handler.getProperties(command, all);
    EXPECT_EQ(KeyPaths(all), (std::vector<std::string>{"GroupTitle", "CanBatch", "CanDescribeParams", "CanShowDialog",
                                                       "GenericTitle", "Title", "ParamsDesc"}));
    Cabinet titleOnly;
    titleOnly.Put("Title", std::string("?"));
    handler.getProperties(command, titleOnly);
    EXPECT_EQ(KeyPaths(titleOnly), std::vector<std::string>{"Title"});
    EXPECT_EQ(titleOnly.Get<std::string>("Title"), "Split Document");

    // A sequence saved with only a split mode still yields every key.
    Cabinet partial;
    partial.Put("SplitMode", std::int32_t{5});
    handler.setParams(command, partial);
    Cabinet params, complete;
    handler.getParams(command, params);
    SaveSettingsToCabinet(SplitSettings(), complete);
    EXPECT_EQ(KeyPaths(params), KeyPaths(complete));
    EXPECT_EQ(params.Get<std::int32_t>("SplitMode"), 5) << "what was given stays";
}

TEST_F(SplitBatchCommandTest, TheDialogEditsTheParametersOnlyWhenAccepted) {
    const host::CommandId command = NewCommand();
    Cabinet params;
    SplitSettings settings;
    settings.SplitMode = SplitMethod::EqualPages;
    settings.Filename.OutputBaseFilename = "Before";
    SaveSettingsToCabinet(settings, params);
    handler.setParams(command, params);
    EXPECT_EQ(handler.showDialog(command), CommandStatus::Cancelled) << "no window to show it in";
    SetModalRunner([](Dialog& dialog) {
        MemoryView view(dialog);
        view.Type(kBaseNameEdit, "After:1");
        return view.PressOk();
    });
    EXPECT_EQ(handler.showDialog(command), CommandStatus::Ready);
    Cabinet edited;
    handler.getParams(command, edited);
    SplitSettings loaded;
    ASSERT_TRUE(LoadSettingsFromCabinet(loaded, edited));
    EXPECT_EQ(loaded.Filename.OutputBaseFilename, "After_1");
}

// A command that always ends with an error, beside the split in one sequence.
CommandStatus FailingWork(host::CommandId) { return CommandStatus::Error; }
const host::CommandHandler kFailing{.work = &FailingWork};

class SequenceTest : public SplitBatchCommandTest {
protected:
    // A split and a failing command over two files of two pages.
    SequenceTest() {
        batch.RegisterHandler("Failing", &kFailing);
        Cabinet params, split, failing, commands, files;
        SplitSettings settings;
        settings.SplitMode = SplitMethod::EqualPages;
        settings.Filename.OutputFolder = host.folder / "out/";
        SaveSettingsToCabinet(settings, params);
        split.Put("HandlerName", std::string(kSplitCommandName));
        failing.Put("HandlerName", std::string("Failing"));
        for (Cabinet* entry : {&split, &failing}) {
            entry->PutCabinet(host::kConfig, Cabinet{});
            entry->PutCabinet(host::kParams, params);
        }
        commands.PutCabinet("0", split);
        commands.PutCabinet("1", failing);
        for (int i = 0; i < 2; ++i) {
            Cabinet file;
            const std::string path = host.folder / ("f" + std::to_string(i) + ".pdf");
            test::PdfFixture(2).Write(path);
            file.Put("DI", path);
            files.PutCabinet(std::to_string(i), file);
        }
        input.Put("FileVariation", std::int32_t{0});
        input.PutCabinet("PreselectedFilesPaths", files);
        sequence.PutCabinet("Commands", commands);
        sequence.PutCabinet("Input", input);
        sequence.PutCabinet("Output", Cabinet{});
        std::filesystem::create_directories(host.folder / "out");
    }
    ~SequenceTest() override { batch.UnregisterHandler("Failing"); }

    Cabinet input, sequence;
};

TEST_F(SequenceTest, ACommandEndingInAnErrorFailsItsFileAndTheRunGoesOn) {
    EXPECT_TRUE(batch.RunSequence(sequence));
    EXPECT_EQ(batch.LastRun().failed, 2);
    EXPECT_TRUE(std::filesystem::exists(host.folder / "out/f0Doc1.pdf"));
    EXPECT_TRUE(std::filesystem::exists(host.folder / "out/f1Doc1.pdf")) << "the second file ran too";
}

TEST_F(SequenceTest, ASequenceThatWouldRunNothingIsRefusedWithItsReason) {
    Cabinet noOutput = sequence, noFolder = sequence, unknownInput = sequence, noParams = sequence;
    noOutput.Remove("Output");
    Cabinet folderInput = input, folder;
    folderInput.Put("FileVariation", std::int32_t{1});
    folder.Put("DI", std::string(host.folder / "missing"));
    folderInput.PutCabinet("PreselectedFolderPath", folder);
    noFolder.PutCabinet("Input", folderInput);
    Cabinet badInput = input;
    badInput.Put("FileVariation", std::int32_t{7});
    unknownInput.PutCabinet("Input", badInput);
    Cabinet commands = *sequence.GetCabinet("Commands"), bare;
    bare.Put("HandlerName", std::string(kSplitCommandName));
    commands.PutCabinet("1", bare);
    noParams.PutCabinet("Commands", commands);
    const struct {
        const char* name;
        const Cabinet& sequence;
        const char* says;
    } rows[] = {{"no Output", noOutput, "\"Output\""},
                {"missing folder", noFolder, "cannot list the folder"},
                {"unknown FileVariation", unknownInput, "FileVariation"},
                {"command without Params", noParams, "command 1 of the sequence lacks"}};
    for (const auto& row : rows) {
        EXPECT_FALSE(batch.RunSequence(row.sequence)) << row.name;
        EXPECT_NE(batch.LastRun().refusal.find(row.says), std::string::npos) << row.name << ": " << batch.LastRun().refusal;
    }
    EXPECT_FALSE(std::filesystem::exists(host.folder / "out/f0Doc1.pdf")) << "nothing ran";
}

}  // namespace
}  // namespace tessera
