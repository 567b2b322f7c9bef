#pragma once

// The settings dialog. Between start and exit its controls hold the live
// settings: the export reads the code page, line end and path from them, and
// the start-up and the exit move them to and from the settings file.

#include "settings.h"

#include <QDialog>
#include <functional>

class QSpinBox;

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The three states of the running editor that "Из редактора" copies: the
// status bar shown, the change confirmation on, the tools window shown.
struct TEditorStates {
    bool Status = false;
    bool Confirm = false;
    bool Tools = false;
};

class TConfigForm : public QDialog {
    Q_OBJECT

public:
    explicit TConfigForm(QWidget* parent = nullptr);

    // The seven values from the settings; the window position is not the dialog's.
    void loadSettings(const TSettings& settings);
    // The seven values of the controls; MainX and MainY stay empty for the
    // main window to fill.
    TSettings settings() const;

    // Where "Из редактора" takes the editor's states; the button is disabled
    // while there is none.
    void setEditorStateSource(std::function<TEditorStates()> source);

    QLabel* HeadingLabel;
    QComboBox* ComboBox1; // code page of the export
    QComboBox* ComboBox2; // line end of the export
    QLineEdit* Edit1;     // the server's world folder: absolute, or below the program folder
    QPushButton* ExportPathBtn; // chooses it in the folder dialog
    QCheckBox* CheckBox1; // status bar at start
    QCheckBox* CheckBox2; // change confirmation
    QCheckBox* CheckBox3; // tools window at start
    // Minutes between the recovery copies of unsaved zones.
    QSpinBox* RecoveryEdit;
    QCheckBox* CheckBox4; // restore the window position
    QPushButton* GetBtn;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

public slots:
    // Cancel, Escape and the close box all leave the values as they were
    // when the dialog was shown.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The folder dialog for the export path; a folder below the program
    // folder is kept relative to it.
    void ChooseExportFolder();

    struct TSnapshot {
        int Coding = -1;
        int Crlf = -1;
        QString Path;
        bool Checks[4] = {};
        int RecoveryMinutes = 2;
    };

    void FormActivate();
    void GetBtnClick();
    void OkBtnClick();
    void CancelBtnClick();

    TSnapshot Snapshot() const;
    void Restore(const TSnapshot& snapshot);

    TSnapshot snapshot_;
    std::function<TEditorStates()> editorStates_;
};
