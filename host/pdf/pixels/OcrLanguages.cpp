#include <cstdlib>
#include <sstream>

#include "host/HostError.h"
#include "pdf/pixels/OcrEngine.h"

namespace tessera::pdf {
namespace {

std::vector<std::string> Split(const std::string& languages) {
    std::vector<std::string> out;
    std::istringstream in(languages);
    for (std::string language; std::getline(in, language, '+');)
        if (!language.empty()) out.push_back(language);
    return out;
}

// Tesseract's name of the language of a locale ("de_DE.UTF-8": deu); empty
// for one it has no data of its own for.
std::string OcrLanguageOfLocale(const std::string& locale) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"de", "deu"}, {"fr", "fra"}, {"es", "spa"},     {"it", "ita"}, {"pt", "por"}, {"nl", "nld"},
        {"pl", "pol"}, {"ru", "rus"}, {"uk", "ukr"},     {"sv", "swe"}, {"da", "dan"}, {"fi", "fin"},
        {"nb", "nor"}, {"no", "nor"}, {"cs", "ces"},     {"hu", "hun"}, {"tr", "tur"}, {"el", "ell"},
        {"ja", "jpn"}, {"ko", "kor"}, {"zh", "chi_sim"}, {"ar", "ara"}, {"th", "tha"}, {"he", "heb"},
    };
    for (const auto& [iso, tesseract] : kNames)
        if (locale.rfind(iso, 0) == 0 && (locale.size() == 2 || locale[2] == '_' || locale[2] == '.')) return tesseract;
    return {};
}

std::string UserLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return value;
    return {};
}

}  // namespace

std::string ResolvedOcrLanguages(OcrLibrary& library, const std::string& asked) {
    const std::vector<std::string>& installed = library.InstalledLanguages();
    const auto has = [&installed](const std::string& language) {
        for (const std::string& one : installed)
            if (one == language) return true;
        return false;
    };
    const auto missing = [](const std::string& language) {
        return host::HostError(host::kErrorBadArgument, "the text recognizer has no data for the language \"" +
                                                            language + "\": install the Debian package tesseract-ocr-" +
                                                            language);
    };
    for (const std::string& language : Split(asked))
        if (!has(language)) throw missing(language);
    if (!Split(asked).empty()) return asked;
    std::string languages = has("eng") ? "eng" : "";
    const std::string own = OcrLanguageOfLocale(UserLocale());
    if (!own.empty() && has(own) && own != languages) languages += (languages.empty() ? "" : "+") + own;
    if (languages.empty()) throw missing("eng");
    return languages;
}

}  // namespace tessera::pdf
