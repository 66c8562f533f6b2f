#include "strings/CsvRows.h"

namespace tessera {

Result<std::vector<CsvRow>> ParseCsv(std::string_view text, std::vector<int>* rowLines) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    int line = 1, rowLine = 1;
    const auto endRow = [&] {
        rows.push_back(std::move(row)), row.clear();
        if (rowLines) rowLines->push_back(rowLine);
    };
    bool quoted = false, wasQuoted = false;
    const auto endField = [&] { row.push_back(std::move(field)), field.clear(), wasQuoted = false; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                field += c, line += c == '\n';
            continue;
        }
        if (c == '"' && field.empty() && !wasQuoted)
            quoted = wasQuoted = true;
        else if (c == '"' || (wasQuoted && c != ',' && c != '\r' && c != '\n'))
            return Failure{"line " + std::to_string(line) + ": a quote inside a field that is not quoted as a whole"};
        else if (c == ',')
            endField();
        else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            i += c == '\r';
            endField();
            endRow();
            rowLine = ++line;
        } else
            field += c;
    }
    if (quoted) return Failure{"line " + std::to_string(line) + ": a quoted field without its closing quote"};
    if (!field.empty() || !row.empty() || wasQuoted) endField(), endRow();
    return rows;
}

}  // namespace tessera
