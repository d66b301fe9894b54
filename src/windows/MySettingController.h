#pragma once
// The application's one small dialog window, serving the column-width and the row-height
// dialogs in turn. Each run shows one of two boxes, fills it in, runs modally and returns what
// was typed and ticked; the accepting buttons close the dialog only on acceptable numbers.
#include <QDialog>
#include <QString>
#include <functional>

class AppDelegate;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QStackedLayout;

class MySettingController : public QDialog {
    Q_OBJECT
public:
    // Responses of a modal run.
    static constexpr int kCancel = 0;
    static constexpr int kAccept = 1;
    static constexpr int kAbort = -1001;
    // What the accepting buttons take, both ends included.
    static constexpr int kMinWidth = 30;
    static constexpr int kMaxWidth = 200;
    static constexpr int kMinHeight = 10;
    static constexpr int kMaxHeight = 100;

    struct ColumnWidthResult {
        QString width;        // empty when cancelled
        int allColumns = 0;   // 1 on, 0 off
    };
    struct RowHeightResult {
        QString titleHeight;
        int titleSizeToFit = 0;
        QString dataHeight;
        int dataSizeToFit = 0;
    };

    explicit MySettingController(QWidget* parent = nullptr);

    // Outlets.
    QWidget* columnBox = nullptr;
    QLineEdit* tfColumnWidth = nullptr;
    QCheckBox* buAllColumns = nullptr;
    QWidget* rowHeightBox = nullptr;
    QLineEdit* tfTitleHeight = nullptr;
    QCheckBox* buTitleSizeToFit = nullptr;
    QLineEdit* tfDataHeight = nullptr;
    QCheckBox* buDataSizeToFit = nullptr;
    AppDelegate* ourDelegate = nullptr;

    // The buttons of the two boxes: tag 0 cancels, tag 1 accepts.
    QPushButton* columnCancelButton = nullptr;
    QPushButton* columnOkButton = nullptr;
    QPushButton* rowCancelButton = nullptr;
    QPushButton* rowOkButton = nullptr;

    ColumnWidthResult runColumnWidthDialog(const QString& widthText, bool choice);
    RowHeightResult runRowHeightDialog(const QString& titleHeight, const QString& dataHeight);
    void setColumnWidth(int tag);
    void setRowHeight(int tag);

    // Tests: run instead of the nested event loop, with the dialog filled in and shown; the
    // buttons it clicks decide the response (cancel when none ends the run).
    using Script = std::function<void(MySettingController&)>;
    void pushScript(Script script) { m_scripts.push_back(std::move(script)); }

    void reject() override;

private:
    int runModal(QWidget* box, const QString& title);
    void stopModal(int code);
    static bool passes(QLineEdit* field, double lo, double hi);

    QStackedLayout* m_stack = nullptr;
    std::vector<Script> m_scripts;
    int m_response = kCancel;
    bool m_running = false;
    bool m_inLoop = false;
};
