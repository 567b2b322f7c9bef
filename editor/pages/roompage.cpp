#include "roompage.h"

#include "attachedtriggers.h"
#include "descform.h"
#include "dialogparts.h"
#include "listform.h"
#include "editorcontext.h"
#include "mappage.h"
#include "modeltext.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "roomcontentspage.h"
#include "roomextradescs.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kKeyKind = 18;
constexpr int kMaxRoomNumber = 999999;

// Direction letters of the control names and the panel captions, north to down.
constexpr std::array<const char*, DirCount> kDirLetters = {"N", "E", "S", "W", "U", "D"};
constexpr std::array<const char*, DirCount> kDirCaptions = {"С", "В", "Ю", "З", "^", "v"};
constexpr std::array<const char*, 11> kDescCaptions = {
    "Общее",        "День",        "Ночь",        "Зима (день)",  "Зима (ночь)", "Весна (день)",
    "Весна (ночь)", "Лето (день)", "Лето (ночь)", "Осень (день)", "Осень (ночь)"};

template <class T> T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QToolButton* NewPanel(QWidget* parent, const QString& name, int direction) {
    auto* panel = Named(new QToolButton(parent), name);
    panel->setText(QString::fromUtf8(kDirCaptions[static_cast<size_t>(direction)]));
    panel->setCheckable(true);
    panel->setFixedSize(24, 22);
    return panel;
}

QString DirName(const char* prefix, int direction, const char* suffix) {
    return QLatin1String(prefix) + QLatin1String(kDirLetters[static_cast<size_t>(direction)]) +
           QLatin1String(suffix);
}

// The memo's lines in the model's code page. A line ending with "~" would
// close the text in the world file, so it keeps the "~" followed by a space;
// `tildeLines` counts such lines.
TStringList MemoLines(const QPlainTextEdit* memo, int& tildeLines) {
    QString text = MemoText(memo);
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('~'))) {
            line += QLatin1Char(' ');
            ++tildeLines;
        }
    const std::string bytes = ToModelText(lines.join(QLatin1Char('\n')));
    TStringList out;
    size_t start = 0;
    for (;;) {
        const size_t end = bytes.find('\n', start);
        out.push_back(bytes.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return out;
}

} // namespace

TRoomPage::TRoomPage(TEditorContext& main, TRecordPage& records)
    : QWidget(records.Body), main_(main), records_(records) {
    setObjectName(QStringLiteral("RoomPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Описание"), this);
    R_DescEdit = Named(new QLineEdit(this), QStringLiteral("R_DescEdit"));
    nameLabel->setBuddy(R_DescEdit);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(R_DescEdit, 1);
    layout->addLayout(nameRow);
    layout->addWidget(BuildDescriptions(), 3);
    layout->addWidget(BuildExits());

    R_PageControl = Named(new QTabWidget(this), QStringLiteral("R_PageControl"));
    MakeTabsCompact(R_PageControl); // seven tabs share the column
    R_PageControl->addTab(BuildTypeTab(), QStringLiteral("Тип"));
    ExtraDescs = new TRoomExtraDescs(
        this, [this] { return HasRoom(); }, [this] { Change(); });
    R_PageControl->addTab(ExtraDescs, QStringLiteral("Доп. описание"));
    R_PageControl->addTab(BuildDoorsTab(), QStringLiteral("Двери"));
    R_PageControl->addTab(BuildTriggersTab(), QStringLiteral("Триггеры"));
    Contents = new TRoomContents(
        main_, R_PageControl, [this] { return HasRoom(); }, [this] { Change(); });
    layout->addWidget(R_PageControl, 5);

    LoadLists();
    Connect();
    DescPageControlChange(0);
}

TRoomPage::~TRoomPage() = default;

QIcon FilledTabIcon() {
    static const QIcon icon = [] {
        QPixmap dot(8, 8);
        dot.fill(Qt::transparent);
        QPainter painter(&dot);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0, 90, 200));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(1, 1, 6, 6);
        return QIcon(dot);
    }();
    return icon;
}

QWidget* TRoomPage::BuildDescriptions() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    R_DescPageControl = Named(new QTabWidget(box), QStringLiteral("R_DescPageControl"));
    R_DescPageControl->setUsesScrollButtons(true);
    R_DescPageControl->setDocumentMode(true);
    for (int tab = 0; tab < 11; ++tab) {
        const QString name = tab == 0 ? QStringLiteral("R_FullDescMemo")
                                      : QStringLiteral("R_FullDescMemo%1").arg(tab);
        auto* memo = Named(new QPlainTextEdit(R_DescPageControl), name);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        DescMemos[static_cast<size_t>(tab)] = memo;
        R_DescPageControl->addTab(memo, QString::fromUtf8(kDescCaptions[static_cast<size_t>(tab)]));
        // A tab whose text box holds text is marked, so a builder sees the
        // night or season variants a room has without opening each.
        connect(memo, &QPlainTextEdit::textChanged, this, [this, tab, memo] {
            const bool filled = !memo->document()->isEmpty();
            R_DescPageControl->setTabIcon(tab, filled ? FilledTabIcon() : QIcon());
            R_DescPageControl->tabBar()->setTabTextColor(
                tab,
                filled ? palette().color(QPalette::Link) : palette().color(QPalette::WindowText));
        });
    }
    layout->addWidget(R_DescPageControl, 1);
    auto* markRow = new QHBoxLayout;
    R_DescCheckBox =
        Named(new QCheckBox(QStringLiteral("Описание"), box), QStringLiteral("R_DescCheckBox"));
    ReplacesLabel = new QLabel(QStringLiteral("замещает общее"), box);
    markRow->addWidget(R_DescCheckBox);
    markRow->addWidget(ReplacesLabel);
    markRow->addStretch();
    layout->addLayout(markRow);
    return box;
}

QWidget* TRoomPage::BuildExits() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Выходы:"), box), 0, 0);
    for (int d = 0; d < DirCount; ++d) {
        auto* panel = NewPanel(box, DirName("R_", d, "Panel"), d);
        SetExitPanels[static_cast<size_t>(d)] = panel;
        auto* edit = Named(new QSpinBox(box), DirName("R_Exit", d, "Edit"));
        edit->setRange(0, kMaxRoomNumber);
        edit->setMinimumWidth(80);
        ExitEdits[static_cast<size_t>(d)] = edit;
        const int row = d / 3;
        const int column = 1 + (d % 3) * 2;
        grid->addWidget(panel, row, column);
        grid->addWidget(edit, row, column + 1);
    }
    grid->setColumnStretch(7, 1);
    return box;
}

QWidget* TRoomPage::BuildTypeTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Местность"), tab);
    R_SectorComboBox = Named(new QComboBox(tab), QStringLiteral("R_SectorComboBox"));
    label->setBuddy(R_SectorComboBox);
    row->addWidget(label);
    row->addWidget(R_SectorComboBox, 1);
    layout->addLayout(row);
    R_TypeCheckListBox = Named(new QListWidget(tab), QStringLiteral("R_TypeCheckListBox"));
    layout->addWidget(R_TypeCheckListBox, 1);
    return tab;
}

QWidget* TRoomPage::BuildDoorsTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* panels = new QHBoxLayout;
    panels->addWidget(new QLabel(QStringLiteral("Выход:"), tab));
    for (int d = 0; d < DirCount; ++d) {
        auto* panel = NewPanel(tab, DirName("R_Exit", d, "Panel"), d);
        ExitPanels[static_cast<size_t>(d)] = panel;
        panels->addWidget(panel);
    }
    panels->addStretch();
    layout->addLayout(panels);
    auto* form = new QFormLayout;
    R_DoorEdit = Named(new QLineEdit(tab), QStringLiteral("R_DoorEdit"));
    R_DoorDescEdit = Named(new QLineEdit(tab), QStringLiteral("R_DoorDescEdit"));
    R_DoorComboBox = Named(new QComboBox(tab), QStringLiteral("R_DoorComboBox"));
    R_DoorKeyEdit = Named(new QSpinBox(tab), QStringLiteral("R_DoorKeyEdit"));
    R_DoorKeyEdit->setRange(-1, kMaxRoomNumber);
    R_DoorKeyEdit->setValue(-1);
    R_DoorKeyEdit->setMinimumWidth(80);
    R_DoorKeyComboBox = Named(new QComboBox(tab), QStringLiteral("R_DoorKeyComboBox"));
    R_DoorDComboBox = Named(new QComboBox(tab), QStringLiteral("R_DoorDComboBox"));
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(R_DoorKeyEdit);
    keyRow->addWidget(R_DoorKeyComboBox, 1);
    form->addRow(QStringLiteral("Ключевые слова"), R_DoorEdit);
    form->addRow(QStringLiteral("Описание выхода"), R_DoorDescEdit);
    form->addRow(QStringLiteral("Тип двери"), R_DoorComboBox);
    form->addRow(QStringLiteral("Ключ"), keyRow);
    form->addRow(QStringLiteral("Состояние"), R_DoorDComboBox);
    layout->addLayout(form);
    layout->addStretch();
    return tab;
}

QWidget* TRoomPage::BuildTriggersTab() {
    Triggers = new TAttachedTriggers(main_.World().Triggers, *main_.TriggerForm, Prompts(),
                                     {"R_TriggerListBox", "R_TriggerBtn1", "R_TriggerBtn2",
                                      "R_TriggerBtn3", QString(), [this] { return HasRoom(); },
                                      QStringLiteral("Сначала выберите комнату"), 2},
                                     this);
    connect(Triggers, &TAttachedTriggers::changed, this, [this] { main_.SetChanged(true); });
    Triggers->Expose(R_TriggerListBox, R_TriggerBtn1, R_TriggerBtn2, R_TriggerBtn3);
    return Triggers;
}

void TRoomPage::LoadLists() {
    const std::string& folder = main_.ProgramFolder;
    LoadListReporting([&] { FillCodeCombo(folder, "SectorType", R_SectorComboBox, 14, 1); });
    LoadListReporting([&] { FillFlagList(folder, "RoomVector", R_TypeCheckListBox, 13); });
    LoadListReporting([&] { FillCodeCombo(folder, "DoorFlags", R_DoorComboBox, 0, 0); });
    LoadListReporting([&] { FillCodeCombo(folder, "DoorDefault", R_DoorDComboBox, 0, 0); });
}

void TRoomPage::Connect() {
    connect(R_DescEdit, &QLineEdit::textEdited, this, [this] { DescEditChange(); });
    for (QPlainTextEdit* memo : DescMemos)
        connect(memo, &QPlainTextEdit::textChanged, this, [this] { Change(); });
    connect(R_DescPageControl, &QTabWidget::currentChanged, this,
            &TRoomPage::DescPageControlChange);
    connect(R_DescCheckBox, &QCheckBox::clicked, this, &TRoomPage::DescCheckBoxClick);
    connect(R_SectorComboBox, &QComboBox::activated, this, [this] { Change(); });
    connect(R_TypeCheckListBox, &QListWidget::itemChanged, this, [this] { Change(); });
    for (int d = 0; d < DirCount; ++d) {
        connect(SetExitPanels[static_cast<size_t>(d)], &QToolButton::clicked, this,
                [this, d] { SetExitPanelClick(d); });
        connect(ExitEdits[static_cast<size_t>(d)], &QSpinBox::valueChanged, this,
                [this, d] { ExitEditChange(d); });
        connect(ExitPanels[static_cast<size_t>(d)], &QToolButton::clicked, this,
                [this, d] { ExitPanelClick(d); });
    }
    connect(R_DoorEdit, &QLineEdit::textEdited, this, [this] { DoorEditChange(); });
    connect(R_DoorDescEdit, &QLineEdit::textEdited, this, [this] { DoorDescEditChange(); });
    connect(R_DoorKeyEdit, &QSpinBox::valueChanged, this, [this] { DoorKeyEditChange(); });
    connect(R_DoorComboBox, &QComboBox::activated, this, [this] { DoorComboBoxChange(); });
    connect(R_DoorDComboBox, &QComboBox::activated, this, [this] { DoorDComboBoxChange(); });
    connect(R_DoorKeyComboBox, &QComboBox::activated, this, [this] { DoorKeyComboBoxChange(); });
}

bool TRoomPage::HasRoom() const {
    return shown_.has_value() && records_.HasSelection();
}

void TRoomPage::Change() {
    if (!showing_)
        main_.RecordPage(RoomPageIndex)->Change();
}

void TRoomPage::FillDoorKeys() {
    const QSignalBlocker block(R_DoorKeyComboBox);
    R_DoorKeyComboBox->clear();
    for (const auto& obj : main_.World().Objs)
        if (obj->Kind == kKeyKind)
            R_DoorKeyComboBox->addItem(FromCp1251(main_.World().Objs.CaptionOf(obj->VNum)), obj->VNum);
    R_DoorKeyComboBox->setCurrentIndex(-1);
}

// ---- show and store ----

void TRoomPage::ShowOnPage(const TRoom& room) {
    showing_ = true;
    shown_.reset();
    if (main_.World().Rooms.Find(room.VNum) == &room)
        shown_ = room.VNum;
    shownName_ = FromCp1251(room.Name);
    R_DescEdit->setText(shownName_);

    const TDescSections sections = SplitDescription(room.Desc);
    DescMemos[0]->setPlainText(LinesToMemoText(sections.General));
    for (int i = 0; i < kSectionCount; ++i)
        DescMemos[static_cast<size_t>(i + 1)]->setPlainText(
            LinesToMemoText(sections.Sections[static_cast<size_t>(i)]));
    replacing_ = sections.Replacing;
    DescPageControlChange(R_DescPageControl->currentIndex());

    FlagsToChecks(room.Flags, R_TypeCheckListBox);
    ShowCode(R_SectorComboBox, room.Sector);

    exits_ = room.Exits;
    storedExits_ = room.Exits;
    for (int d = 0; d < DirCount; ++d) {
        ExitEdits[static_cast<size_t>(d)]->setValue(exits_[static_cast<size_t>(d)].ToRoom);
        ShowDoorPanel(d, exits_[static_cast<size_t>(d)].ToRoom != 0);
        ExitPanels[static_cast<size_t>(d)]->setChecked(false);
        SetExitPanels[static_cast<size_t>(d)]->setChecked(false);
    }
    ClearDoorFields();
    currentDoor_ = -1;
    awaitingExit_ = -1;

    ExtraDescs->Show(room.ExtraDescs);

    Triggers->Show(room.Triggers);
    Contents->ShowOnPage(room);
    showing_ = false;
    if (Shown)
        Shown(room);
}

TStringList TRoomPage::StoredDescription() {
    TDescSections sections;
    int tildeLines = 0;
    sections.General = MemoLines(DescMemos[0], tildeLines);
    QStringList ambiguous;
    for (int i = 0; i < kSectionCount; ++i) {
        const auto index = static_cast<size_t>(i);
        sections.Sections[index] = MemoLines(DescMemos[index + 1], tildeLines);
        sections.Replacing[index] = replacing_[index];
        const TStringList& text = sections.Sections[index];
        if (!replacing_[index] && !text.empty() && !text.front().empty() &&
            text.front().front() == 'R')
            ambiguous.append(QString::fromUtf8(kDescCaptions[index + 1]));
    }
    if (tildeLines > 0)
        Prompts().Information(
            QStringLiteral("Строк описания, которые заканчиваются знаком \"~\": %1.\r\n"
                           "В файле мира этот знак закрывает описание, поэтому после него "
                           "добавлен пробел.")
                .arg(tildeLines));
    if (!ambiguous.isEmpty())
        Prompts().Information(
            QStringLiteral("Описание (%1) начинается с латинской буквы \"R\": при чтении "
                           "файла оно будет считаться замещающим общее.")
                .arg(ambiguous.join(QStringLiteral(", "))));
    return JoinDescription(sections);
}

void TRoomPage::ReadFromPage(TRoom& room) {
    room.Name = ToModelText(R_DescEdit->text());
    room.Desc = StoredDescription();
    room.Flags = ChecksToFlagsKeeping(R_TypeCheckListBox, room.Flags);
    room.Sector = static_cast<uint8_t>(ReadCode(R_SectorComboBox, room.Sector));
    room.Exits = exits_;
    room.ExtraDescs = ExtraDescs->Descs();
    room.Triggers = Triggers->Numbers();
    Contents->ReadFromPage(room);
}

// ---- name and descriptions ----

void TRoomPage::DescEditChange() {
    if (!HasRoom()) {
        Prompts().Information(QStringLiteral("Сначала создайте комнату"));
        const QSignalBlocker block(R_DescEdit);
        R_DescEdit->setText(shownName_);
        return;
    }
    Change();
    shownName_ = R_DescEdit->text();
    const QString entry = QString::number(*shown_) + QStringLiteral("  ") + shownName_;
    const int row = records_.IDComboBox->currentIndex();
    records_.IDComboBox->setItemText(row, entry);
    if (Renamed)
        Renamed(*shown_, entry);
}

void TRoomPage::DescPageControlChange(int tab) {
    const bool variant = tab > 0;
    R_DescCheckBox->setVisible(variant);
    ReplacesLabel->setVisible(variant);
    if (variant)
        R_DescCheckBox->setChecked(replacing_[static_cast<size_t>(tab - 1)]);
}

void TRoomPage::DescCheckBoxClick(bool checked) {
    const int tab = R_DescPageControl->currentIndex();
    if (tab <= 0)
        return;
    Change();
    replacing_[static_cast<size_t>(tab - 1)] = checked;
}

// ---- exits ----

void TRoomPage::SetExitPanelClick(int direction) {
    for (QToolButton* panel : SetExitPanels)
        panel->setChecked(false);
    if (awaitingExit_ == direction) {
        awaitingExit_ = -1;
        return;
    }
    SetExitPanels[static_cast<size_t>(direction)]->setChecked(true);
    awaitingExit_ = direction;
}

void TRoomPage::SetAwaitedTarget(int32_t target) {
    const int d = awaitingExit_;
    if (d < 0)
        return;
    exits_[static_cast<size_t>(d)].ToRoom = target;
    showing_ = true;
    ExitEdits[static_cast<size_t>(d)]->setValue(target);
    showing_ = false;
    ShowDoorPanel(d, target != 0);
    if (target == 0 && currentDoor_ == d) {
        currentDoor_ = -1;
        ClearDoorFields();
    }
    SetExitPanels[static_cast<size_t>(d)]->setChecked(false);
    awaitingExit_ = -1;
    Change();
}

void TRoomPage::Follow(const TWorldChange& change) {
    if (change.Restored || !shown_)
        return;
    const TZoneDiff* diff = change.DiffOf(ZoneOf(*shown_));
    if (!diff)
        return;
    const std::vector<int32_t>& changed = diff->Records[RoomListKind].Changed;
    if (std::find(changed.begin(), changed.end(), *shown_) == changed.end())
        return;
    const TRoom* room = main_.World().Rooms.Find(*shown_);
    if (!room)
        return;
    std::array<bool, DirCount> directions{};
    for (size_t d = 0; d < directions.size(); ++d)
        directions[d] = room->Exits[d] != storedExits_[d];
    ExitsChangedElsewhere(*room, directions);
    storedExits_ = room->Exits;
}

void TRoomPage::ExitsChangedElsewhere(const TRoom& room,
                                      const std::array<bool, DirCount>& directions) {
    if (!shown_ || *shown_ != room.VNum)
        return;
    showing_ = true;
    for (int d = 0; d < DirCount; ++d) {
        if (!directions[static_cast<size_t>(d)])
            continue;
        exits_[static_cast<size_t>(d)] = room.Exits[static_cast<size_t>(d)];
        const int32_t target = exits_[static_cast<size_t>(d)].ToRoom;
        ExitEdits[static_cast<size_t>(d)]->setValue(target);
        ShowDoorPanel(d, target != 0);
        if (currentDoor_ == d) {
            if (target == 0) {
                currentDoor_ = -1;
                ClearDoorFields();
            } else {
                LoadDoorFields();
            }
        }
    }
    showing_ = false;
}

void TRoomPage::ExitEditChange(int direction) {
    if (showing_)
        return;
    Change();
    const int32_t value = ExitEdits[static_cast<size_t>(direction)]->value();
    exits_[static_cast<size_t>(direction)].ToRoom = value;
    if (value == 0) {
        ShowDoorPanel(direction, false);
        if (currentDoor_ == direction) {
            currentDoor_ = -1;
            ClearDoorFields();
        }
    } else {
        ShowDoorPanel(direction, true);
        ExitPanelClick(direction);
    }
}

void TRoomPage::ShowDoorPanel(int direction, bool visible) {
    QToolButton* panel = ExitPanels[static_cast<size_t>(direction)];
    panel->setVisible(visible);
    if (!visible)
        panel->setChecked(false);
}

// ---- doors ----

void TRoomPage::ExitPanelClick(int direction) {
    for (QToolButton* panel : ExitPanels)
        panel->setChecked(false);
    ExitPanels[static_cast<size_t>(direction)]->setChecked(true);
    currentDoor_ = direction;
    LoadDoorFields();
}

void TRoomPage::LoadDoorFields() {
    const TExit& exit = exits_[static_cast<size_t>(currentDoor_)];
    const bool wasShowing = showing_;
    showing_ = true;
    R_DoorEdit->setText(FromCp1251(exit.ExitKeywords()));
    R_DoorDescEdit->setText(FromCp1251(exit.ExitDesc()));
    ShowCode(R_DoorComboBox, exit.DoorFlags);
    R_DoorKeyEdit->setValue(exit.Key);
    R_DoorKeyComboBox->setCurrentIndex(R_DoorKeyComboBox->findData(exit.Key));
    ShowCode(R_DoorDComboBox, exit.DoorState);
    doorText_ = R_DoorEdit->text();
    doorDescText_ = R_DoorDescEdit->text();
    doorKey_ = R_DoorKeyEdit->value();
    showing_ = wasShowing;
}

void TRoomPage::ClearDoorFields() {
    const bool wasShowing = showing_;
    showing_ = true;
    R_DoorEdit->clear();
    R_DoorDescEdit->clear();
    R_DoorComboBox->setCurrentIndex(-1);
    R_DoorDComboBox->setCurrentIndex(-1);
    R_DoorKeyEdit->setValue(-1);
    R_DoorKeyComboBox->setCurrentIndex(-1);
    doorText_.clear();
    doorDescText_.clear();
    doorKey_ = -1;
    showing_ = wasShowing;
}

// A door field changed with no door chosen is put back as it was.
bool TRoomPage::DoorFieldAllowed() {
    if (currentDoor_ >= 0)
        return true;
    Prompts().Information(QStringLiteral("Выберите сначала выход"));
    ClearDoorFields();
    return false;
}

void TRoomPage::DoorEditChange() {
    if (!DoorFieldAllowed())
        return;
    Change();
    doorText_ = R_DoorEdit->text();
    exits_[static_cast<size_t>(currentDoor_)].SetExitKeywords(ToModelText(doorText_));
}

void TRoomPage::DoorDescEditChange() {
    if (!DoorFieldAllowed())
        return;
    Change();
    doorDescText_ = R_DoorDescEdit->text();
    exits_[static_cast<size_t>(currentDoor_)].SetExitDesc(ToModelText(doorDescText_));
}

void TRoomPage::DoorKeyEditChange() {
    if (showing_ || !DoorFieldAllowed())
        return;
    Change();
    doorKey_ = R_DoorKeyEdit->value();
    exits_[static_cast<size_t>(currentDoor_)].Key = doorKey_;
}

// The door type and state are the codes of their lists, so that showing a
// door selects the entry of the stored value whatever the list's order.
void TRoomPage::DoorComboBoxChange() {
    if (!DoorFieldAllowed())
        return;
    const int code = ReadCode(R_DoorComboBox, -1);
    if (code < 0 || code > 255)
        return;
    Change();
    exits_[static_cast<size_t>(currentDoor_)].DoorFlags = static_cast<uint8_t>(code);
}

void TRoomPage::DoorDComboBoxChange() {
    if (!DoorFieldAllowed())
        return;
    const int code = ReadCode(R_DoorDComboBox, -1);
    if (code < 0 || code > 255)
        return;
    Change();
    exits_[static_cast<size_t>(currentDoor_)].DoorState = static_cast<uint8_t>(code);
}

void TRoomPage::DoorKeyComboBoxChange() {
    if (R_DoorKeyComboBox->currentIndex() < 0)
        return;
    if (currentDoor_ < 0) {
        DoorFieldAllowed();
        return;
    }
    R_DoorKeyEdit->setValue(R_DoorKeyComboBox->currentData().toInt());
}

// ---- the page in the main window ----

void AttachRoomPage(TEditorContext& main) {
    TRecordPage& records = *main.RecordPage(RoomPageIndex);
    auto* room = new TRoomPage(main, records);
    auto* map = new TMapPage(main, *room, records.Body);
    auto* layout = new QHBoxLayout(records.Body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(map, 1);
    layout->addWidget(room, 1);

    records.ShowRecord = [&records, room, show = ShowFrom(room, main.World().Rooms)](std::optional<int32_t> vnum) {
        const TRoom* shown = show(vnum);
        if (!shown)
            return;
        // A cancelled rename leaves its false name in neither list.
        const QString entry = FromCp1251(TRoomList::EntryOf(*shown).Text);
        records.ShowEntryText(*vnum, entry);
        if (room->Renamed)
            room->Renamed(*vnum, entry);
    };
    records.StoreRecord = StoreInto(*main.Document, room, main.World().Rooms);
    records.Entered = [room] { room->FillDoorKeys(); };
    // After the ID list has followed the step (connected earlier).
    QObject::connect(main.Document, &TWorldDocument::changed, room, &TRoomPage::Follow);
}
