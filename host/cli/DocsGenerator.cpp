#include "cli/DocsGenerator.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/CommandDocs.h"
#include "cli/ManPages.h"
#include "cli/ShellCompletions.h"

namespace tessera::app {
namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) std::cerr << "tessera: cannot write " << path << std::endl;
    return static_cast<bool>(out);
}

}  // namespace

bool GenerateDocs(const CLI::App& app, const std::vector<host::OptionSpec>& declared, const std::string& footer,
                  const std::string& folder) {
    CommandDoc top;
    const std::vector<CommandDoc> commands = CollectCommands(app, declared, top);
    std::filesystem::create_directories(folder);
    bool written = WriteFile(folder + "/tessera.1", MainPage(commands, top));
    for (const CommandDoc& command : commands)
        if (command.name == "split" || command.name == "batch" || command.name == "gui" || command.name == "watch")
            written = WriteFile(folder + "/tessera-" + command.name + ".1", CommandPage(command, footer)) && written;
    written = WriteFile(folder + "/tessera.bash", BashCompletion(commands, top)) && written;
    written = WriteFile(folder + "/_tessera", ZshCompletion(commands)) && written;
    return WriteFile(folder + "/tessera.fish", FishCompletion(commands)) && written;
}

}  // namespace tessera::app
