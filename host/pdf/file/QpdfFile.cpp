#include "pdf/file/QpdfFile.h"

#include "pdf/file/CachedFileSource.h"
#include "pdf/file/QpdfGuard.h"

namespace tessera::pdf {

std::unique_ptr<QPDF> OpenQpdfFile(const std::string& path, const std::string& password) {
    auto qpdf = std::make_unique<QPDF>();
    qpdf->setSuppressWarnings(true);
    QpdfGuard([&] {
        qpdf->processInputSource(std::make_shared<CachedFileSource>(path),
                                 password.empty() ? nullptr : password.c_str());
    });
    return qpdf;
}

}  // namespace tessera::pdf
