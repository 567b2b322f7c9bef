#include "zonepage.h"

#include "worlddocument.h"

#include "editorcontext.h"
#include "errorreporter.h"
#include "filekinds.h"
#include "keptnumber.h"
#include "modeltext.h"
#include "prompts.h"
#include "recordpage.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "textcodec.h"
#include "unparsed.h"
#include "vocabularyfill.h"
#include "world.h"
#include "zonechecks.h"

#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

Q_DECLARE_METATYPE(TRoomObj)

namespace {

// An entry of the zone list: a zone of the world.
class TZoneItem : public QListWidgetItem {
public:
    explicit TZoneItem(TZone& zone) : zone_(&zone) { UpdateText(); }
    TZone& Zone() const { return *zone_; }
    // The list sorts by zone number: 106 before 1040.
    bool operator<(const QListWidgetItem& other) const override {
        return zone_->ZoneNumber < static_cast<const TZoneItem&>(other).zone_->ZoneNumber;
    }
    void UpdateText() { SetText(zone_->ZoneNumber, FromCp1251(zone_->ZoneName)); }
    // An unsaved zone shows "*" after its number.
    void SetText(int32_t number, const QString& name) {
        setText(QString::number(number) +
                (unsaved_ ? QStringLiteral("*  ") : QStringLiteral("  ")) + name);
    }
    // A zone whose file did not read to its end stands out, its failure in
    // the tip: it is listed with what was read rather than left out.
    void SetFailure(const QString& failure) {
        setToolTip(failure);
        setForeground(QColor(Qt::red));
    }
    void SetUnsaved(bool unsaved) {
        if (unsaved == unsaved_)
            return;
        unsaved_ = unsaved;
        // The name as the list shows it, typed edits included.
        const QString shown = text();
        setText(QString::number(zone_->ZoneNumber) + (unsaved_ ? QStringLiteral("*") : QString()) +
                shown.mid(shown.indexOf(QStringLiteral("  "))));
    }

private:
    TZone* zone_;
    bool unsaved_ = false;
};

TZoneItem* ZoneItem(QListWidgetItem* item) {
    return static_cast<TZoneItem*>(item);
}

QListWidgetItem* AddCheckEntry(QListWidget* list, const QString& text, bool checked) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool IsChecked(const QListWidgetItem* item) {
    return item->checkState() == Qt::Checked;
}

// Removes the selected entry and selects the one now at its place, or the last.
void RemoveSelectedEntry(QListWidget* list) {
    const int row = list->currentRow();
    delete list->takeItem(row);
    if (list->count() > 0)
        list->setCurrentRow(std::min(row, list->count() - 1));
}

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString FileText(const TStringList& lines) {
    QString text;
    for (const auto& line : lines) {
        text += FromCp1251(std::string(LineText(line)));
        text += QLatin1Char('\n');
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

TZonePage::TZonePage(TEditorContext& main) : main_(main), kept_(new TKeptNumbers(this)) {
    setObjectName(QStringLiteral("ZoneTabSheet"));
    connect(main_.Document, &TWorldDocument::cleared, this, &TZonePage::ClearZones);
    connect(main_.Document, &TWorldDocument::loaded, this, &TZonePage::ListZones);
    connect(main_.Document, &TWorldDocument::zoneAdded, this,
            [this](TZone* zone) { AddZoneEntry(*zone); });

    Z_PageControl = Named(new QTabWidget(this), "Z_PageControl");
    Z_PageControl->addTab(BuildParamsTab(), QStringLiteral("Параметры"));
    Z_PageControl->addTab(BuildFilesTab(), QStringLiteral("Файлы"));
    Z_PageControl->addTab(BuildStatisticsTab(), QStringLiteral("Статистика"));
    Z_PageControl->addTab(BuildSourceTab(), QStringLiteral("ZON-файл"));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BuildZoneList());
    layout->addWidget(Z_PageControl, 1);
}

TZonePage::~TZonePage() = default;

QWidget* TZonePage::BuildZoneList() {
    auto* column = new QWidget(this);
    column->setFixedWidth(250);
    Z_ListBox = Named(new QListWidget(column), "Z_ListBox");
    Z_ListBox->setSortingEnabled(true);
    auto* listLabel = new QLabel(QStringLiteral("&Список зон"), column);
    listLabel->setBuddy(Z_ListBox);
    Z_FilterEdit = Named(new QLineEdit(column), "Z_FilterEdit");
    Z_FilterEdit->setPlaceholderText(QStringLiteral("Фильтр: номер или часть названия"));
    Z_FilterEdit->setClearButtonEnabled(true);
    connect(Z_FilterEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (int row = 0; row < Z_ListBox->count(); ++row)
            Z_ListBox->item(row)->setHidden(
                !Z_ListBox->item(row)->text().contains(text, Qt::CaseInsensitive));
    });

    Z_NewZoneEdit = Named(new QSpinBox(column), "Z_NewZoneEdit");
    Z_NewZoneEdit->setRange(-9999, 9999);
    Z_NewBtn = Button(QStringLiteral("Z_NewBtn"), QStringLiteral("Но&вая"), column);
    auto* newRow = new QHBoxLayout;
    newRow->addWidget(Z_NewZoneEdit, 1);
    newRow->addWidget(Z_NewBtn);

    auto* attention = new QLabel(QStringLiteral("Внимание!"), column);
    QFont bold = attention->font();
    bold.setBold(true);
    attention->setFont(bold);
    auto* warning =
        new QLabel(QStringLiteral("Изменять номер зоны в текущей версии нельзя, поэтому "
                                  "будьте внимательны при создании новой зоны."),
                   column);
    warning->setWordWrap(true);
    Z_SaveMUDBtn =
        Button(QStringLiteral("Z_SaveMUDBtn"), QStringLiteral("Сохранить для &MUDа"), column);

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(listLabel);
    layout->addWidget(Z_FilterEdit);
    layout->addWidget(Z_ListBox, 1);
    layout->addLayout(newRow);
    layout->addWidget(attention);
    layout->addWidget(warning);
    layout->addWidget(Z_SaveMUDBtn);

    connect(Z_ListBox, &QListWidget::currentRowChanged, this, [this] {
        if (!selecting_)
            ListClick();
    });
    // A click on the zone already current changes no row, yet it is a click
    // like any other: the page is stored and the zone shown again.
    Z_ListBox->viewport()->installEventFilter(this);
    connect(Z_ListBox, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (&ZoneItem(item)->Zone() == zoneAtPress_ && zoneAtPress_ == currentZone_)
            ListClick();
    });
    connect(Z_NewBtn, &QPushButton::clicked, this, &TZonePage::NewZone);
    return column;
}

QWidget* TZonePage::BuildParamsTab() {
    auto* tab = new QWidget;
    Z_ZoneEdit = Named(new QSpinBox(tab), "Z_ZoneEdit");
    Z_ZoneEdit->setRange(0, 9999);
    Z_ZoneEdit->setReadOnly(true);
    Z_ZoneEdit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    Z_NameEdit = Named(new QLineEdit(tab), "Z_NameEdit");
    Z_RepopTimeEdit = Named(new QSpinBox(tab), "Z_RepopTimeEdit");
    Z_RepopTimeEdit->setRange(0, 99999);
    kept_->Watch(Z_ZoneEdit, 0, 9999);
    kept_->Watch(Z_RepopTimeEdit, 0, 99999);
    Z_RepopComboBox = Named(new QComboBox(tab), "Z_RepopComboBox");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер зоны"), Z_ZoneEdit);
    form->addRow(QStringLiteral("&Название зоны"), Z_NameEdit);
    form->addRow(QStringLiteral("&Время перезагрузки (в минутах РЛ)"), Z_RepopTimeEdit);
    form->addRow(QStringLiteral("&Тип перезагрузки"), Z_RepopComboBox);

    auto* objects = new QGroupBox(QStringLiteral("Создаваемые объекты"), tab);
    Z_ObjCheckListBox = Named(new QListWidget(objects), "Z_ObjCheckListBox");
    Z_ObjBtn1 = Button(QStringLiteral("Z_ObjBtn1"), QStringLiteral("Добавить"), objects);
    Z_ObjBtn3 = Button(QStringLiteral("Z_ObjBtn3"), QStringLiteral("Редактировать"), objects);
    Z_ObjBtn2 = Button(QStringLiteral("Z_ObjBtn2"), QStringLiteral("Удалить"), objects);
    auto* objButtons = new QHBoxLayout;
    for (QPushButton* button : {Z_ObjBtn1, Z_ObjBtn3, Z_ObjBtn2})
        objButtons->addWidget(button);
    auto* objLayout = new QVBoxLayout(objects);
    objLayout->addWidget(Z_ObjCheckListBox);
    objLayout->addLayout(objButtons);

    auto* mobs = new QGroupBox(QStringLiteral("Удаляемые мобы"), tab);
    Z_DelMobCheckListBox = Named(new QListWidget(mobs), "Z_DelMobCheckListBox");
    Z_DelMobBtn1 = Button(QStringLiteral("Z_DelMobBtn1"), QStringLiteral("Добавить"), mobs);
    Z_DelMobBtn2 = Button(QStringLiteral("Z_DelMobBtn2"), QStringLiteral("Удалить"), mobs);
    auto* mobButtons = new QHBoxLayout;
    mobButtons->addWidget(Z_DelMobBtn1);
    mobButtons->addWidget(Z_DelMobBtn2);
    mobButtons->addStretch();
    auto* mobLayout = new QVBoxLayout(mobs);
    mobLayout->addWidget(Z_DelMobCheckListBox);
    mobLayout->addLayout(mobButtons);

    auto* lists = new QHBoxLayout;
    lists->addWidget(objects);
    lists->addWidget(mobs);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(form);
    layout->addLayout(lists, 1);

    connect(Z_NameEdit, &QLineEdit::textChanged, this, &TZonePage::NameEditChange);
    connect(Z_RepopTimeEdit, &QSpinBox::valueChanged, this, &TZonePage::ZoneChange);
    connect(Z_RepopComboBox, &QComboBox::activated, this, &TZonePage::ZoneChange);
    connect(Z_ObjCheckListBox, &QListWidget::itemChanged, this, &TZonePage::ZoneChange);
    connect(Z_DelMobCheckListBox, &QListWidget::itemChanged, this, &TZonePage::ZoneChange);
    connect(Z_ObjBtn1, &QPushButton::clicked, this, &TZonePage::ObjAdd);
    connect(Z_ObjBtn3, &QPushButton::clicked, this, &TZonePage::ObjEdit);
    connect(Z_ObjBtn2, &QPushButton::clicked, this, &TZonePage::ObjDelete);
    connect(Z_DelMobBtn1, &QPushButton::clicked, this, &TZonePage::DelMobAdd);
    connect(Z_DelMobBtn2, &QPushButton::clicked, this, &TZonePage::DelMobDelete);
    return tab;
}

QWidget* TZonePage::BuildFilesTab() {
    auto* tab = new QWidget;
    Z_ZoneFilenameEdit = Named(new QLineEdit(tab), "Z_ZoneFilenameEdit");
    Z_RoomFilenameEdit = Named(new QLineEdit(tab), "Z_RoomFilenameEdit");
    Z_ObjFilenameEdit = Named(new QLineEdit(tab), "Z_ObjFilenameEdit");
    Z_MobFilenameEdit = Named(new QLineEdit(tab), "Z_MobFilenameEdit");
    Z_ShopFilenameEdit = Named(new QLineEdit(tab), "Z_ShopFilenameEdit");
    Z_TrigFilenameEdit = Named(new QLineEdit(tab), "Z_TrigFilenameEdit");
    const std::array<const char*, 6> captions = {"Зона", "Комнаты",  "Объекты",
                                                 "Мобы", "Магазины", "Триггеры"};
    auto* grid = new QGridLayout(tab);
    const auto edits = FilenameEdits();
    for (int k = 0; k < 6; ++k) {
        auto* button =
            Button(QStringLiteral("Z_FilenameBtn%1").arg(k + 1), QStringLiteral("..."), tab);
        button->setFixedWidth(32);
        Z_FilenameBtn[static_cast<size_t>(k)] = button;
        grid->addWidget(new QLabel(QString::fromUtf8(captions[static_cast<size_t>(k)]), tab), k, 0);
        grid->addWidget(edits[static_cast<size_t>(k)], k, 1);
        grid->addWidget(button, k, 2);
        connect(button, &QPushButton::clicked, this, [this, k] { FilenameBtnClick(k); });
        connect(edits[static_cast<size_t>(k)], &QLineEdit::textEdited, this,
                &TZonePage::ZoneChange);
    }
    Z_NormalizeBtn = Button(QStringLiteral("Z_NormalizeBtn"),
                            QStringLiteral("Привести зону к формату редактора"), tab);
    grid->addWidget(Z_NormalizeBtn, 6, 1, Qt::AlignLeft);
    grid->setRowStretch(7, 1);
    return tab;
}

QWidget* TZonePage::BuildStatisticsTab() {
    auto* tab = new QWidget;
    const std::array<const char*, 6> captions = {
        "Комнат:", "Из них нерасставленых:", "Объектов:", "Мобов:", "Магазинов:", "Триггеров:"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(QStringLiteral("0"), tab);
        label->setObjectName(QStringLiteral("Z_Stat%1Label").arg(i + 1));
        Z_StatLabel[static_cast<size_t>(i)] = label;
        grid->addWidget(new QLabel(QString::fromUtf8(captions[static_cast<size_t>(i)]), tab), i, 0);
        grid->addWidget(label, i, 1);
    }
    grid->setColumnStretch(2, 1);
    Z_ErrorListBox = Named(new QListWidget(tab), "Z_ErrorListBox");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(new QLabel(QStringLiteral("Всего в зоне:"), tab));
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("Найденные ошибки:"), tab));
    layout->addWidget(Z_ErrorListBox, 1);
    return tab;
}

QWidget* TZonePage::BuildSourceTab() {
    auto* tab = new QWidget;
    Z_SourceMemo = Named(new QPlainTextEdit(tab), "Z_SourceMemo");
    Z_SourceMemo->setReadOnly(true);
    Z_SourceMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Z_SourceMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Z_SourceMemo);
    return tab;
}

std::array<QLineEdit*, 6> TZonePage::FilenameEdits() const {
    return {Z_ZoneFilenameEdit, Z_RoomFilenameEdit, Z_ObjFilenameEdit,
            Z_MobFilenameEdit,  Z_ShopFilenameEdit, Z_TrigFilenameEdit};
}

// ---- the workspace and the zone list ----

void TZonePage::ScanWorkspace() {
    // A large workspace takes seconds: after half a second the builder sees
    // how far the reading has come (no window takes input meanwhile).
    QProgressDialog progress(QString::fromUtf8("Чтение рабочей папки..."), QString(), 0, 0,
                             main_.Window());
    progress.setObjectName("ReadProgressDialog");
    progress.setWindowTitle(QString::fromUtf8("Чтение зон"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    connect(main_.Document, &TWorldDocument::readProgress, &progress,
            [&progress](int done, int total) {
                // A hundred steps at most: each one lets the window repaint.
                if (done != total && done % std::max(1, total / 100) != 0)
                    return;
                progress.setMaximum(total);
                progress.setLabelText(
                    QString::fromUtf8("Прочитано файлов: %1 из %2").arg(done).arg(total));
                progress.setValue(done);
            });
    main_.Document->LoadWorkspace(main_.ProgramFolder + "Zones/", main_.KindName());
    main_.RefillListWindows();
    if (ZoneCount() > 0)
        SelectRow(0);
}

void TZonePage::ClearZones() {
    currentZone_ = nullptr;
    selecting_ = true;
    Z_ListBox->clear();
    selecting_ = false;
    for (TRecordPage* records : main_.RecordPages)
        records->ShowZone(std::nullopt);
    emit zoneShown(-1);
}

void TZonePage::ListZones(const std::map<const TZone*, std::string>& failures) {
    // A zone whose file failed stays listed with what was read, marked.
    for (const auto& zone : main_.World().Zones) {
        const auto failure = failures.find(zone.get());
        QListWidgetItem* item = AddZoneEntry(*zone);
        if (failure != failures.end())
            ZoneItem(item)->SetFailure(BoxText(failure->second));
    }
}

QListWidgetItem* TZonePage::AddZoneEntry(TZone& zone) {
    auto* item = new TZoneItem(zone);
    Z_ListBox->addItem(item);
    return item;
}

int TZonePage::ZoneCount() const {
    return Z_ListBox->count();
}

TZone* TZonePage::ZoneAt(int row) const {
    QListWidgetItem* item = Z_ListBox->item(row);
    return item ? &ZoneItem(item)->Zone() : nullptr;
}

std::vector<TZone*> TZonePage::Zones() const {
    std::vector<TZone*> zones;
    zones.reserve(static_cast<size_t>(ZoneCount()));
    for (int row = 0; row < ZoneCount(); ++row)
        zones.push_back(ZoneAt(row));
    return zones;
}

int TZonePage::RowOfNumber(int32_t number) const {
    for (int row = 0; row < ZoneCount(); ++row)
        if (ZoneAt(row)->ZoneNumber == number)
            return row;
    return -1;
}

int TZonePage::RowOf(const TZone* zone) const {
    QListWidgetItem* item = ItemOf(zone);
    return item ? Z_ListBox->row(item) : -1;
}

QListWidgetItem* TZonePage::ItemOf(const TZone* zone) const {
    for (int row = 0; row < Z_ListBox->count(); ++row)
        if (ZoneAt(row) == zone)
            return Z_ListBox->item(row);
    return nullptr;
}

int TZonePage::CurrentZoneIndex() const {
    return RowOf(currentZone_);
}

void TZonePage::SelectRow(int row) {
    selecting_ = true;
    Z_ListBox->setCurrentRow(row);
    selecting_ = false;
    ListClick();
}

void TZonePage::ListClick() {
    QListWidgetItem* item = Z_ListBox->currentItem();
    if (!item)
        return;
    if (currentZone_) {
        if (main_.ConfirmStore()) {
            if (!kept_->Check()) {
                // The zone with the refused value stays selected.
                selecting_ = true;
                Z_ListBox->setCurrentRow(CurrentZoneIndex());
                selecting_ = false;
                return;
            }
            StoreInto(*currentZone_);
        } else if (QListWidgetItem* left = ItemOf(currentZone_))
            ZoneItem(left)->UpdateText(); // a name typed and discarded leaves the list
    }
    currentZone_ = &ZoneItem(item)->Zone();
    ShowOnPage(*currentZone_);
    main_.SetChanged(false);
    main_.ShowUnsavedMarks();
}

void TZonePage::ShowUnsavedMarks(const std::function<bool(const TZone*)>& unsaved) {
    for (int row = 0; row < Z_ListBox->count(); ++row) {
        TZoneItem* item = ZoneItem(Z_ListBox->item(row));
        item->SetUnsaved(unsaved(&item->Zone()));
    }
}

void TZonePage::ShowCurrent() {
    if (currentZone_)
        ShowOnPage(*currentZone_);
}

bool TZonePage::StoreCurrent() {
    if (!currentZone_)
        return true;
    if (!kept_->Check())
        return false;
    StoreInto(*currentZone_);
    return true;
}

void TZonePage::StoreInto(TZone& zone) {
    TStepPlace place;
    place.Zone = &zone;
    place.Page = ZonePageIndex;
    TZone edited = zone;
    ReadFromPage(edited);
    main_.Document->SetZoneRecord(
        place, StepText(QStringLiteral("изменение"), ZonePageIndex, zone.ZoneNumber),
        std::move(edited));
}

// ---- show and store ----

bool TZonePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Z_ListBox->viewport() && event->type() == QEvent::MouseButtonPress)
        zoneAtPress_ = currentZone_;
    return QWidget::eventFilter(watched, event);
}

void TZonePage::ShowOnPage(const TZone& zone) {
    showing_ = true;
    // A name typed and then cancelled leaves the list too.
    if (QListWidgetItem* item = ItemOf(&zone))
        ZoneItem(item)->UpdateText();
    kept_->Show(Z_ZoneEdit, zone.ZoneNumber);
    Z_NameEdit->setText(FromCp1251(zone.ZoneName));
    kept_->Show(Z_RepopTimeEdit, zone.RepopTime);
    ShowCode(Z_RepopComboBox, zone.RepopType);

    Z_ObjCheckListBox->clear();
    for (const TRoomObj& obj : zone.CreatedObjects) {
        auto* item = AddCheckEntry(
            Z_ObjCheckListBox, FromCp1251(main_.World().Objs.CaptionOf(obj.ObjVNum)), obj.IfFlag);
        item->setData(Qt::UserRole, QVariant::fromValue(obj));
    }
    Z_DelMobCheckListBox->clear();
    for (const int32_t packed : zone.DeletedMobs) {
        const int32_t mob = PackedNumber(packed);
        auto* item =
            AddCheckEntry(Z_DelMobCheckListBox, FromCp1251(main_.World().Mobs.CaptionOf(mob)),
                          PackedIfFlag(packed));
        item->setData(Qt::UserRole, mob);
    }

    const auto edits = FilenameEdits();
    for (int k = 0; k < kFileKindCount; ++k)
        edits[static_cast<size_t>(k)]->setText(PathText(ZoneFileOf(zone, k)));

    for (TRecordPage* records : main_.RecordPages)
        records->ShowZone(zone.ZoneNumber);
    emit zoneShown(zone.ZoneNumber);

    ZoneStatistics(zone);
    ZoneChecks();
    TStringList lines;
    zone.SaveToStrings(main_.World(), lines);
    ShowSource(lines);
    showing_ = false;
    main_.RecheckProblems(); // the zone's problems, or the stored edits of the zone left
}

void TZonePage::ShowSource(const TStringList& lines) {
    Z_SourceMemo->setPlainText(FileText(lines));
}

void TZonePage::ReadFromPage(TZone& zone) {
    kept_->Read(Z_ZoneEdit, zone.ZoneNumber);
    zone.ZoneName = ToModelText(Z_NameEdit->text());
    kept_->Read(Z_RepopTimeEdit, zone.RepopTime);
    zone.RepopType = ReadCode(Z_RepopComboBox, zone.RepopType);
    zone.CreatedObjects.clear();
    for (int row = 0; row < Z_ObjCheckListBox->count(); ++row) {
        const QListWidgetItem* item = Z_ObjCheckListBox->item(row);
        TRoomObj obj = item->data(Qt::UserRole).value<TRoomObj>();
        obj.IfFlag = IsChecked(item);
        zone.CreatedObjects.push_back(std::move(obj));
    }
    zone.DeletedMobs.clear();
    for (int row = 0; row < Z_DelMobCheckListBox->count(); ++row) {
        const QListWidgetItem* item = Z_DelMobCheckListBox->item(row);
        zone.DeletedMobs.push_back(PackIfFlag(IsChecked(item), item->data(Qt::UserRole).toInt()));
    }
    const auto edits = FilenameEdits();
    for (int k = 0; k < kFileKindCount; ++k)
        ZoneFileOf(zone, k) = PathFromText(edits[static_cast<size_t>(k)]->text());
    if (QListWidgetItem* item = ItemOf(&zone))
        ZoneItem(item)->UpdateText();
}

// ---- statistics and checks ----

void TZonePage::ZoneStatistics(const TZone& zone) {
    const auto rooms = main_.World().Rooms.ZoneInListOrder(zone.ZoneNumber);
    const auto unplaced = std::count_if(rooms.begin(), rooms.end(),
                                        [](const TRoom* room) { return !IsOnGrid(*room); });
    const std::array<int, 6> counts = {
        main_.RecordPage(RoomPageIndex)->Count(), static_cast<int>(unplaced),
        main_.RecordPage(ObjPageIndex)->Count(),  main_.RecordPage(MobPageIndex)->Count(),
        main_.RecordPage(ShopPageIndex)->Count(), main_.RecordPage(TrigPageIndex)->Count()};
    for (size_t i = 0; i < 6; ++i)
        Z_StatLabel[i]->setText(QString::number(counts[i]));
}

void TZonePage::ZoneChecks() {
    Z_ErrorListBox->clear();
    const QComboBox* ids = main_.RecordPage(RoomPageIndex)->IDComboBox;
    std::vector<const TRoom*> rooms;
    for (int i = 0; i < ids->count(); ++i) {
        const QVariant vnum = ids->itemData(i); // none for a room not read
        if (const TRoom* room = vnum.isValid() ? main_.World().Rooms.Find(vnum.toInt()) : nullptr)
            rooms.push_back(room);
    }
    for (const auto& line : ZoneCheckLines(rooms, main_.World().Rooms, main_.World().Mobs))
        Z_ErrorListBox->addItem(FromCp1251(line));
}

// ---- new zone ----

void TZonePage::NewZone() {
    const int32_t n = Z_NewZoneEdit->value();
    if (RowOfNumber(n) >= 0) {
        Prompts().Error(QStringLiteral("Зона с таким номером уже есть"));
        return;
    }
    if (n <= 0) {
        Prompts().Error(QStringLiteral("Некорректный номер зоны"));
        return;
    }
    ListClick(); // the current zone's edits are stored first
    SelectRow(Z_ListBox->row(ItemOf(&AddNewZone(n))));
}

TZone& TZonePage::AddNewZone(int32_t number) {
    auto zone = std::make_unique<TZone>(number);
    for (int k = 0; k < kFileKindCount; ++k)
        ZoneFileOf(*zone, k) = main_.ProgramFolder + "Zones/" + KindFolder(k) + "/" +
                               std::to_string(number) + KindExtension(k);
    return main_.Document->AddZone(std::move(zone)); // the list follows
}

// ---- editing ----

bool TZonePage::NeedZone() {
    if (currentZone_)
        return true;
    Prompts().Error(QStringLiteral("Выберите сначала зону или создайте новую"));
    return false;
}

void TZonePage::ZoneChange() {
    if (!showing_ && NeedZone())
        main_.SetChanged(true);
}

void TZonePage::NameEditChange() {
    if (showing_)
        return;
    if (QListWidgetItem* item = ItemOf(currentZone_))
        ZoneItem(item)->SetText(currentZone_->ZoneNumber, Z_NameEdit->text());
    ZoneChange();
}

void TZonePage::ObjAdd() {
    if (!NeedZone())
        return;
    TRoomObjForm& picker = *main_.RoomObjForm;
    picker.SetPlainMode(false);
    picker.ShowParams(false);
    picker.ShowPercent(true);
    TLinkObj scratch;
    scratch.ObjVNum = 0;
    scratch.IfFlag = false;
    scratch.Probability = 100;
    picker.Preset(scratch);
    picker.exec();
    if (!picker.Accepted())
        return;
    picker.Result(scratch);
    main_.SetChanged(true);
    TRoomObj obj;
    obj.ObjVNum = scratch.ObjVNum;
    obj.Probability = scratch.Probability;
    auto* item = AddCheckEntry(
        Z_ObjCheckListBox, FromCp1251(main_.World().Objs.CaptionOf(obj.ObjVNum)), scratch.IfFlag);
    item->setData(Qt::UserRole, QVariant::fromValue(obj));
}

void TZonePage::ObjEdit() {
    if (!NeedZone())
        return;
    QListWidgetItem* item = Z_ObjCheckListBox->currentItem();
    if (!item) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    TRoomObj obj = item->data(Qt::UserRole).value<TRoomObj>();
    TRoomObjForm& picker = *main_.RoomObjForm;
    picker.SetPlainMode(false);
    picker.ShowParams(false);
    picker.ShowPercent(true);
    TLinkObj preset;
    preset.ObjVNum = obj.ObjVNum;
    preset.IfFlag = IsChecked(item);
    preset.Probability = obj.Probability;
    picker.Preset(preset);
    picker.exec();
    if (!picker.Accepted())
        return;
    picker.Result(preset);
    main_.SetChanged(true);
    obj.ObjVNum = preset.ObjVNum;
    obj.Probability = preset.Probability;
    const QSignalBlocker block(Z_ObjCheckListBox);
    item->setData(Qt::UserRole, QVariant::fromValue(obj));
    item->setText(FromCp1251(main_.World().Objs.CaptionOf(obj.ObjVNum)));
    item->setCheckState(preset.IfFlag ? Qt::Checked : Qt::Unchecked);
}

void TZonePage::ObjDelete() {
    if (!NeedZone())
        return;
    if (!Z_ObjCheckListBox->currentItem()) {
        Prompts().Error(QStringLiteral("Выберите объект"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этот объект?")))
        return;
    ZoneChange();
    RemoveSelectedEntry(Z_ObjCheckListBox);
}

void TZonePage::DelMobAdd() {
    if (!NeedZone())
        return;
    TRoomMobForm& picker = *main_.RoomMobForm;
    TRoomMob scratch;
    scratch.MobVNum = 0;
    scratch.IfFlag = false;
    picker.Preset(scratch);
    picker.exec();
    if (!picker.Accepted())
        return;
    picker.Result(scratch);
    ZoneChange();
    auto* item =
        AddCheckEntry(Z_DelMobCheckListBox,
                      FromCp1251(main_.World().Mobs.CaptionOf(scratch.MobVNum)), scratch.IfFlag);
    item->setData(Qt::UserRole, scratch.MobVNum);
}

void TZonePage::DelMobDelete() {
    if (!NeedZone())
        return;
    if (!Z_DelMobCheckListBox->currentItem()) {
        Prompts().Error(QStringLiteral("Выберите моба"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить этого моба?")))
        return;
    ZoneChange();
    RemoveSelectedEntry(Z_DelMobCheckListBox);
}

void TZonePage::FilenameBtnClick(int kind) {
    const TFileDialogSetup setup = FileDialogSetup(currentZone_, kind);
    const QString path = Prompts().OpenFile(setup.Folder, setup.FileName, setup.Filters);
    if (path.isEmpty())
        return;
    FilenameEdits()[static_cast<size_t>(kind)]->setText(path);
    if (currentZone_)
        ZoneChange(); // a chosen name is an edit like a typed one
}
