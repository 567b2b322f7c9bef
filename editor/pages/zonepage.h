#pragma once

// The zone page: the zones of the workspace, the zone record, the zone's
// statistics and consistency errors, and its zone file as it would be saved.
// Showing a zone here decides what every other page works on.

#include "zone.h"

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TKeptNumbers;
class TEditorContext;

class TZonePage : public QWidget {
    Q_OBJECT

public:
    explicit TZonePage(TEditorContext& main);
    ~TZonePage() override;

    // Reads the whole workspace into the lists, fills the zone list and shows
    // the first zone.
    void ScanWorkspace();

    // The zone being worked on; null when none is.
    TZone* CurrentZone() const { return currentZone_; }
    // Its row in the zone list, -1 when none.
    int CurrentZoneIndex() const;
    int ZoneCount() const;
    // The zone of a row of the zone list.
    TZone* ZoneAt(int row) const;
    // Every zone, in list order.
    std::vector<TZone*> Zones() const;
    // The row of the zone numbered so (the first one), -1 when none is.
    int RowOfNumber(int32_t number) const;
    // The row of a zone, -1 when it is not in the list.
    int RowOf(const TZone* zone) const;

    // Selects a row and processes it as a click.
    void SelectRow(int row);
    // A click on the zone list: the page is stored into the current zone
    // (when the change confirmation says so), then the selected zone is shown.
    void ListClick();
    void ShowOnPage(const TZone& zone);
    void ReadFromPage(TZone& zone);
    // Shows the current zone again; the page's edits are dropped.
    void ShowCurrent();
    // Stores the page into the current zone, when there is one; false (after
    // telling the user) when a number typed is out of its range.
    bool StoreCurrent();

signals:
    // A zone was shown: every page now works on it.
    void zoneShown(int32_t number);

public:
    // The "*" of the zones that are unsaved.
    void ShowUnsavedMarks(const std::function<bool(const TZone*)>& unsaved);

    // The zone file text in Z_SourceMemo.
    void ShowSource(const TStringList& lines);

    // "Новая": a zone numbered by Z_NewZoneEdit.
    void NewZone();
    // A zone without files yet, listed last and unsaved until saved.
    TZone& AddNewZone(int32_t number);

    // The six file name edits in the order of the zone's files: zone, rooms,
    // objects, mobs, shops, triggers.
    std::array<QLineEdit*, 6> FilenameEdits() const;

    QListWidget* Z_ListBox;
    QLineEdit* Z_FilterEdit; // narrows the zone list as the builder types
    QSpinBox* Z_NewZoneEdit;
    QPushButton* Z_NewBtn;
    QPushButton* Z_SaveMUDBtn;
    QTabWidget* Z_PageControl;
    QSpinBox* Z_ZoneEdit;
    QLineEdit* Z_NameEdit;
    QSpinBox* Z_RepopTimeEdit;
    QComboBox* Z_RepopComboBox;
    QListWidget* Z_ObjCheckListBox;
    QPushButton* Z_ObjBtn1; // add
    QPushButton* Z_ObjBtn3; // edit
    QPushButton* Z_ObjBtn2; // delete
    QListWidget* Z_DelMobCheckListBox;
    QPushButton* Z_DelMobBtn1; // add
    QPushButton* Z_DelMobBtn2; // delete
    QLineEdit* Z_ZoneFilenameEdit;
    QLineEdit* Z_RoomFilenameEdit;
    QLineEdit* Z_ObjFilenameEdit;
    QLineEdit* Z_MobFilenameEdit;
    QLineEdit* Z_ShopFilenameEdit;
    QLineEdit* Z_TrigFilenameEdit;
    // Rewrites every record of the zone's files in the editor's own form.
    QPushButton* Z_NormalizeBtn;
    std::array<QPushButton*, 6> Z_FilenameBtn; // Z_FilenameBtn1 .. Z_FilenameBtn6
    std::array<QLabel*, 6> Z_StatLabel;        // Z_Stat1Label .. Z_Stat6Label
    QListWidget* Z_ErrorListBox;
    QPlainTextEdit* Z_SourceMemo;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildZoneList();
    QWidget* BuildParamsTab();
    QWidget* BuildFilesTab();
    QWidget* BuildStatisticsTab();
    QWidget* BuildSourceTab();

    // The new entry of the zone list.
    QListWidgetItem* AddZoneEntry(TZone& zone);
    // The zone list follows the document: emptied before the workspace is
    // read again (the record pages and the map let go of the zone too),
    // listed when it was read, an entry for each zone added.
    void ClearZones();
    void ListZones(const std::map<const TZone*, std::string>& failures);
    QListWidgetItem* ItemOf(const TZone* zone) const;

    // The common zone-change step of every edit on the page.
    void ZoneChange();
    // Refuses (with the message) while no zone is current.
    bool NeedZone();
    void NameEditChange();

    void ObjAdd();
    void ObjEdit();
    void ObjDelete();
    void DelMobAdd();
    void DelMobDelete();
    void FilenameBtnClick(int kind);

    // ReadFromPage as one step of the document.
    void StoreInto(TZone& zone);
    void ZoneStatistics(const TZone& zone);
    void ZoneChecks();

    TEditorContext& main_;
    TKeptNumbers* kept_;
    TZone* currentZone_ = nullptr;
    bool showing_ = false;               // ShowOnPage is filling the controls
    bool selecting_ = false;             // a row is being selected by the program
    const TZone* zoneAtPress_ = nullptr; // the current zone when the list was last pressed
};
