#include "platform/Dialogs.h"
#include "platform/PackageFileDialog.h"
#include "platform/PrintInfo.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

Dialogs* g_current = nullptr;

QWidget* dialogParent() { return QApplication::activeWindow(); }

template <typename T>
T takeFront(std::deque<T>& queue, const T& fallback)
{
    if (queue.empty())
        return fallback;
    const T value = queue.front();
    queue.pop_front();
    return value;
}

QString withExtension(const QString& path, const QStringList& fileTypes)
{
    if (path.isEmpty() || fileTypes.isEmpty())
        return path;
    for (const QString& type : fileTypes)
        if (path.endsWith('.' + type, Qt::CaseInsensitive))
            return path;
    return path + '.' + fileTypes.first();
}

}  // namespace

Dialogs& Dialogs::current()
{
    static QtDialogs qtDialogs;
    return g_current ? *g_current : qtDialogs;
}

void Dialogs::setCurrent(Dialogs* dialogs) { g_current = dialogs; }

QString Dialogs::savePanel(const QString& title, const QString&, const QStringList& fileTypes, const QString& suggestedPath)
{
    QStringList patterns;
    for (const QString& type : fileTypes)
        patterns << "*." + type;
    return withExtension(saveFile(title, suggestedPath, patterns.join(' ')), fileTypes);
}

std::pair<QString, QString> Dialogs::suggestedPlace(const QString& suggestedPath)
{
    if (suggestedPath.isEmpty())
        return {QDir::homePath(), QString()};
    const QFileInfo info(suggestedPath);
    // A relative path would be read from the working directory: only its name is kept.
    return {info.isAbsolute() ? info.absolutePath() : QDir::homePath(), info.fileName()};
}

void Dialogs::alertOver(QWidget*, const QString& message, const QString& informative) { alert(message, informative); }

// ---- Qt ----

void QtDialogs::alert(const QString& message, const QString& informative)
{
    question(message, informative, {QStringLiteral("OK")});
}

void QtDialogs::alertOver(QWidget* window, const QString& message, const QString& informative)
{
    ask(window ? window : dialogParent(), message, informative, {QStringLiteral("OK")});
}

int QtDialogs::question(const QString& message, const QString& informative, const QStringList& buttons)
{
    return ask(dialogParent(), message, informative, buttons);
}

int QtDialogs::ask(QWidget* parent, const QString& message, const QString& informative, const QStringList& buttons)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(message);
    box.setInformativeText(informative);
    const QStringList labels = buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : buttons;
    QList<QAbstractButton*> added;
    for (int i = 0; i < labels.size(); ++i) {
        const QString& label = labels[i];
        QMessageBox::ButtonRole role = QMessageBox::ActionRole;
        if (i == 0)
            role = QMessageBox::AcceptRole;
        else if (label == QLatin1String("Cancel"))
            role = QMessageBox::RejectRole;
        else if (label.startsWith(QLatin1String("Don")))
            role = QMessageBox::DestructiveRole;
        added << box.addButton(label, role);
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(added.first()));
    // Escape (or closing the box) means "Cancel" when there is one, else the last button.
    const int cancel = labels.indexOf(QStringLiteral("Cancel"));
    box.setEscapeButton(added[cancel >= 0 ? cancel : int(added.size()) - 1]);
    box.exec();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : (cancel >= 0 ? cancel : int(added.size()) - 1);
}

QString QtDialogs::openFile(const QString& title, const QString& filter)
{
    return choose(false, title, filter, QString());
}

QString QtDialogs::saveFile(const QString& title, const QString& suggestedPath, const QString& filter)
{
    return choose(true, title, filter, suggestedPath);
}

QString QtDialogs::openDirectory(const QString& title, const QString& filter)
{
    // Documents are package folders, chosen like files.
    return choose(false, title, filter, QString());
}

QString QtDialogs::choose(bool save, const QString& title, const QString& filter, const QString& suggestedPath)
{
    PackageFileDialog dialog(dialogParent(), save ? PackageFileDialog::Kind::Save : PackageFileDialog::Kind::Open, title,
                             filter, suggestedPath);
    if (!save)
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Open"));
    return dialog.exec() == QDialog::Accepted ? dialog.chosenPath() : QString();
}

QString QtDialogs::savePanel(const QString& title, const QString& nameFieldLabel, const QStringList& fileTypes,
                             const QString& suggestedPath)
{
    QStringList patterns;
    for (const QString& type : fileTypes)
        patterns << "*." + type;
    const auto [folder, name] = suggestedPlace(suggestedPath);
    QFileDialog dialog(dialogParent(), title, folder, patterns.join(' '));
    if (!name.isEmpty())
        dialog.selectFile(name);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setLabelText(QFileDialog::FileName, nameFieldLabel);
    if (!fileTypes.isEmpty())
        dialog.setDefaultSuffix(fileTypes.first());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withExtension(dialog.selectedFiles().first(), fileTypes);
}

std::optional<FontSpec> QtDialogs::chooseFont(const FontSpec& initial)
{
    QFont font = initial.toQFont();
    // The chooser lists a family's faces by their own names ("Book", "Oblique") and opens a
    // font asked for by weight and slant alone on the first face listed: name the face.
    const QFontInfo face(font);
    if (face.family() == font.family())
        font.setStyleName(face.styleName());
    QFontDialog dialog(dialogParent());
    dialog.setCurrentFont(font);
    // Confirmed as shown, the chooser gives back the font it was given, also one this
    // machine does not have.
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    if (chosen == shown)
        return initial;
    return FontSpec::fromQFont(chosen);
}

std::optional<Color> QtDialogs::chooseColor(const Color& initial)
{
    const QColor color = QColorDialog::getColor(initial.toQColor(), dialogParent(), QString(),
                                                QColorDialog::ShowAlphaChannel);
    if (!color.isValid())
        return std::nullopt;
    return Color::fromQColor(color);
}

std::optional<QPageLayout> QtDialogs::runPageLayout(const QPageLayout& layout)
{
    QPrinter printer;
    printer.setPageLayout(layout);
    // The printer may see the paper otherwise than it was given (its own unprintable
    // border): confirmed as shown, the panel gives back the layout it was given.
    const QPageLayout shown = printer.pageLayout();
    QPageSetupDialog dialog(&printer, dialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The panel works in the user's units; the layout comes back in points.
    QPageLayout chosen = printer.pageLayout();
    if (PrintInfo::same(chosen, shown))
        return layout;
    chosen.setUnits(QPageLayout::Point);
    return chosen;
}

bool QtDialogs::runPrintPanel(QPrinter& printer)
{
    QPrintDialog dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

// ---- scripted ----

void ScriptedDialogs::alert(const QString& message, const QString& informative)
{
    alertOver(nullptr, message, informative);
}

void ScriptedDialogs::alertOver(QWidget* window, const QString& message, const QString&)
{
    alerts << message;
    alertWindows << QPointer<QWidget>(window && window->isVisible() ? window : nullptr);
    if (whileAlertOpen)
        whileAlertOpen();
}

int ScriptedDialogs::question(const QString& message, const QString& informative, const QStringList& buttons)
{
    questions << message;
    questionButtons << buttons;
    if (whileAlertOpen)
        whileAlertOpen();
    const int answer = takeFront(answers, 0);
    // An answer outside the buttons would be a fault of the script; keep it in range.
    return buttons.isEmpty() ? 0 : qBound(0, answer, int(buttons.size()) - 1);
}

QString ScriptedDialogs::openFile(const QString&, const QString&) { return takeFront(files, QString()); }

QString ScriptedDialogs::saveFile(const QString&, const QString& suggestedPath, const QString&)
{
    suggestedPaths << suggestedPath;
    return takeFront(files, QString());
}

QString ScriptedDialogs::savePanel(const QString& title, const QString& nameFieldLabel, const QStringList& fileTypes,
                                   const QString& suggestedPath)
{
    savePanels << title + '|' + nameFieldLabel + '|' + fileTypes.join(',');
    suggestedPaths << suggestedPath;
    return withExtension(takeFront(files, QString()), fileTypes);
}

QString ScriptedDialogs::openDirectory(const QString&, const QString&) { return takeFront(files, QString()); }

std::optional<FontSpec> ScriptedDialogs::chooseFont(const FontSpec&)
{
    return takeFront(fonts, std::optional<FontSpec>());
}

std::optional<Color> ScriptedDialogs::chooseColor(const Color&)
{
    return takeFront(colors, std::optional<Color>());
}

std::optional<QPageLayout> ScriptedDialogs::runPageLayout(const QPageLayout& layout)
{
    pageSetupPanels << layout;
    runWhilePanelOpen();
    return takeFront(pageLayouts, std::optional<QPageLayout>());
}

bool ScriptedDialogs::runPrintPanel(QPrinter& printer)
{
    printPanels << printer.pageLayout();
    runWhilePanelOpen();
    const QString file = takeFront(printFiles, QString());
    if (file.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
}

void ScriptedDialogs::runWhilePanelOpen()
{
    if (!whilePanelOpen)
        return;
    const std::function<void()> act = std::move(whilePanelOpen);
    whilePanelOpen = nullptr;
    act();
}
