// The window's folder and file choices, in Qt's file dialogs.
#include <QFileDialog>
#include <QRegularExpression>

#include "ui/qt/QtDialogView.h"

namespace tessera {
namespace {

std::optional<std::string> Chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> ChooseFile(QWidget* parent, const FileChoice& choice, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, {}, {}, QtFileFilter(choice.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(choice.defaultExtension));
    if (!choice.proposedName.empty()) dialog.selectFile(QString::fromStdString(choice.proposedName));
    return Chosen(dialog);
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString name = parts[i].section('(', 0, 0).trimmed();
        // A pattern named twice ("*.tpr; *.tpr") is shown once.
        QStringList patterns = parts[i + 1].split(QRegularExpression("[; ]+"), Qt::SkipEmptyParts);
        patterns.replaceInStrings("*.*", "*");
        patterns.removeDuplicates();
        entries << name + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

std::optional<std::string> QtDialogView::ChooseFolder(const std::string& title, const std::string& prompt,
                                                      const std::string& start) {
    QFileDialog dialog(this, QString::fromStdString(title.empty() ? prompt : title), QString::fromStdString(start));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return Chosen(dialog);
}

std::optional<std::string> QtDialogView::ChooseFileToSave(const FileChoice& choice) {
    return ChooseFile(this, choice, QFileDialog::AcceptSave);
}

std::optional<std::string> QtDialogView::ChooseFileToOpen(const FileChoice& choice) {
    return ChooseFile(this, choice, QFileDialog::AcceptOpen);
}

}  // namespace tessera
