#include "windows/MySettingController.h"
#include "platform/NumberText.h"
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {
QPushButton* makeButton(const QString& text, int tag, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setProperty("tag", tag);
    b->setAutoDefault(false);
    return b;
}

QWidget* buttonRow(QPushButton* cancel, QPushButton* ok, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addStretch();
    h->addWidget(cancel);
    h->addWidget(ok);
    return row;
}
}

MySettingController::MySettingController(QWidget* parent) : QDialog(parent)
{
    setObjectName("SettingWindow");
    setModal(true);
    m_stack = new QStackedLayout(this);

    columnBox = new QWidget(this);
    columnBox->setObjectName("columnBox");
    {
        auto* v = new QVBoxLayout(columnBox);
        auto* form = new QFormLayout;
        tfColumnWidth = new QLineEdit(columnBox);
        tfColumnWidth->setObjectName("tfColumnWidth");
        form->addRow(tr("Width:"), tfColumnWidth);
        v->addLayout(form);
        // OK takes only widths in this range: say so, or it seems to do nothing.
        auto* range = new QLabel(tr("From %1 to %2 points.").arg(kMinWidth).arg(kMaxWidth), columnBox);
        range->setObjectName("columnWidthRange");
        v->addWidget(range);
        buAllColumns = new QCheckBox(tr("All columns"), columnBox);
        buAllColumns->setObjectName("buAllColumns");
        v->addWidget(buAllColumns);
        columnCancelButton = makeButton(tr("Cancel"), 0, columnBox);
        columnOkButton = makeButton(tr("OK"), 1, columnBox);
        v->addWidget(buttonRow(columnCancelButton, columnOkButton, columnBox));
        connect(columnCancelButton, &QPushButton::clicked, this, [this] { setColumnWidth(0); });
        connect(columnOkButton, &QPushButton::clicked, this, [this] { setColumnWidth(1); });
        connect(tfColumnWidth, &QLineEdit::returnPressed, this, [this] { setColumnWidth(1); });
    }
    m_stack->addWidget(columnBox);

    rowHeightBox = new QWidget(this);
    rowHeightBox->setObjectName("rowHeightBox");
    {
        auto* v = new QVBoxLayout(rowHeightBox);
        auto* grid = new QFormLayout;
        tfTitleHeight = new QLineEdit(rowHeightBox);
        tfTitleHeight->setObjectName("tfTitleHeight");
        buTitleSizeToFit = new QCheckBox(tr("Size to fit"), rowHeightBox);
        buTitleSizeToFit->setObjectName("buTitleSizeToFit");
        auto* titleRow = new QHBoxLayout;
        titleRow->addWidget(tfTitleHeight);
        titleRow->addWidget(buTitleSizeToFit);
        grid->addRow(tr("Title row:"), titleRow);
        tfDataHeight = new QLineEdit(rowHeightBox);
        tfDataHeight->setObjectName("tfDataHeight");
        buDataSizeToFit = new QCheckBox(tr("Size to fit"), rowHeightBox);
        buDataSizeToFit->setObjectName("buDataSizeToFit");
        auto* dataRow = new QHBoxLayout;
        dataRow->addWidget(tfDataHeight);
        dataRow->addWidget(buDataSizeToFit);
        grid->addRow(tr("Data rows:"), dataRow);
        v->addLayout(grid);
        auto* range = new QLabel(tr("Heights from %1 to %2 points.").arg(kMinHeight).arg(kMaxHeight), rowHeightBox);
        range->setObjectName("rowHeightRange");
        v->addWidget(range);
        // A row sized to its font has no height to type.
        connect(buTitleSizeToFit, &QCheckBox::toggled, tfTitleHeight, [this](bool on) { tfTitleHeight->setEnabled(!on); });
        connect(buDataSizeToFit, &QCheckBox::toggled, tfDataHeight, [this](bool on) { tfDataHeight->setEnabled(!on); });
        rowCancelButton = makeButton(tr("Cancel"), 0, rowHeightBox);
        rowOkButton = makeButton(tr("OK"), 1, rowHeightBox);
        v->addWidget(buttonRow(rowCancelButton, rowOkButton, rowHeightBox));
        connect(rowCancelButton, &QPushButton::clicked, this, [this] { setRowHeight(0); });
        connect(rowOkButton, &QPushButton::clicked, this, [this] { setRowHeight(1); });
        connect(tfTitleHeight, &QLineEdit::returnPressed, this, [this] { setRowHeight(1); });
        connect(tfDataHeight, &QLineEdit::returnPressed, this, [this] { setRowHeight(1); });
    }
    m_stack->addWidget(rowHeightBox);
}

MySettingController::ColumnWidthResult MySettingController::runColumnWidthDialog(const QString& widthText, bool choice)
{
    tfColumnWidth->setText(widthText);
    buAllColumns->setChecked(!choice);
    buAllColumns->setEnabled(choice);
    const int response = runModal(columnBox, QStringLiteral("Column Width"));
    if (response == kCancel || response == kAbort)
        return {};
    return {tfColumnWidth->text(), buAllColumns->isChecked() ? 1 : 0};
}

MySettingController::RowHeightResult MySettingController::runRowHeightDialog(const QString& titleHeight,
                                                                            const QString& dataHeight)
{
    tfTitleHeight->setText(titleHeight);
    tfDataHeight->setText(dataHeight);
    buTitleSizeToFit->setChecked(false);
    buDataSizeToFit->setChecked(false);
    tfTitleHeight->setEnabled(true);
    tfDataHeight->setEnabled(true);
    const int response = runModal(rowHeightBox, QStringLiteral("Row Height"));
    if (response == kCancel || response == kAbort)
        return {};
    return {tfTitleHeight->text(), buTitleSizeToFit->isChecked() ? 1 : 0,
            tfDataHeight->text(), buDataSizeToFit->isChecked() ? 1 : 0};
}

bool MySettingController::passes(QLineEdit* field, double lo, double hi)
{
    double value = 0;
    if (NumberText::scanDouble(field->text(), &value) && value >= lo && value <= hi)
        return true;
    // The dialog stays open on the text to correct.
    field->setFocus();
    field->selectAll();
    return false;
}

void MySettingController::setColumnWidth(int tag)
{
    if (tag == 0) {
        stopModal(kCancel);
        return;
    }
    if (passes(tfColumnWidth, kMinWidth, kMaxWidth))
        stopModal(kAccept);
}

void MySettingController::setRowHeight(int tag)
{
    if (tag == 0) {
        stopModal(kCancel);
        return;
    }
    if (!buTitleSizeToFit->isChecked() && !passes(tfTitleHeight, kMinHeight, kMaxHeight))
        return;
    if (!buDataSizeToFit->isChecked() && !passes(tfDataHeight, kMinHeight, kMaxHeight))
        return;
    stopModal(kAccept);
}

void MySettingController::reject()
{
    // Escape and the window's close box cancel.
    stopModal(kCancel);
}

int MySettingController::runModal(QWidget* box, const QString& title)
{
    m_stack->setCurrentWidget(box);
    setFixedSize(box->sizeHint());
    setWindowTitle(title);
    m_response = kCancel;
    m_running = true;
    Script script;
    if (!m_scripts.empty()) {
        script = std::move(m_scripts.front());
        m_scripts.erase(m_scripts.begin());
    }
    if (script) {
        show();
        script(*this);
    } else {
        m_inLoop = true;
        m_response = exec();
        m_inLoop = false;
    }
    m_running = false;
    hide();
    return m_response;
}

void MySettingController::stopModal(int code)
{
    if (!m_running)
        return;
    m_response = code;
    m_running = false;
    if (m_inLoop)
        done(code);
}
