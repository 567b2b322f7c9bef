#include "destform.h"

#include "prompts.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>

namespace {

// Each route entry carries its room number (kCodeRole) and the text it
// stands for in the route: the number in decimal, or a part of a route text
// that is no number, kept as its Windows-1251 bytes.
constexpr int kRoutePartRole = kCodeRole + 1;

bool RoomNumber(const std::string& part, int32_t& number) {
    const char* end = part.data() + part.size();
    const auto [stop, error] = std::from_chars(part.data(), end, number);
    return error == std::errc() && stop == end;
}

QListWidgetItem* RouteEntry(const QString& text, int32_t room) {
    auto* item = new QListWidgetItem(text);
    item->setData(kCodeRole, room);
    item->setData(kRoutePartRole, QByteArray::fromStdString(std::to_string(room)));
    return item;
}

} // namespace

TDestForm::TDestForm(const TRoomList& rooms, QWidget* parent) : TOkDialog(parent), rooms_(rooms) {
    setObjectName(QStringLiteral("DestForm"));
    setWindowTitle(QStringLiteral("Destination"));

    Label1 = new QLabel(QStringLiteral("Задайте ключевые комнаты"), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFontMetrics metrics = ListBox1->fontMetrics();
    ListBox1->setMinimumSize(metrics.averageCharWidth() * 36, metrics.lineSpacing() * 10);

    UpBtn = MakeButton(this, "UpBtn", QString());
    UpBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    UpBtn->setToolTip(QStringLiteral("Выше"));
    DownBtn = MakeButton(this, "DownBtn", QString());
    DownBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    DownBtn->setToolTip(QStringLiteral("Ниже"));
    DelBtn = MakeButton(this, "DelBtn", QStringLiteral("--"));
    DelBtn->setToolTip(QStringLiteral("Убрать комнату из пути"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumContentsLength(28);
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    AddBtn1 = MakeButton(this, "AddBtn1", QStringLiteral("+"));
    AddBtn1->setToolTip(QStringLiteral("Добавить выбранную комнату"));

    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 999999);
    AddBtn2 = MakeButton(this, "AddBtn2", QStringLiteral("+"));
    AddBtn2->setToolTip(QStringLiteral("Добавить комнату с этим номером"));

    CheckBox1 = new QCheckBox(QStringLiteral("Добавлять в конец списка"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);

    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("Ok"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Cancel"));

    // The small buttons share one width, wide enough for the arrows and "--".
    const int small = metrics.horizontalAdvance(QStringLiteral("----")) + metrics.height();
    for (QPushButton* button : {UpBtn, DownBtn, DelBtn, AddBtn1, AddBtn2})
        button->setFixedWidth(small);

    auto* moves = new QVBoxLayout;
    moves->addWidget(UpBtn);
    moves->addWidget(DownBtn);
    moves->addSpacing(metrics.height() / 2);
    moves->addWidget(DelBtn);
    moves->addStretch(1);

    auto* route = new QHBoxLayout;
    route->addWidget(ListBox1, 1);
    route->addLayout(moves);

    auto* fromList = new QHBoxLayout;
    fromList->addWidget(ComboBox1, 1);
    fromList->addWidget(AddBtn1);

    auto* byNumber = new QHBoxLayout;
    byNumber->addWidget(SpinEdit1, 1);
    byNumber->addWidget(AddBtn2);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(route, 1);
    column->addLayout(fromList);
    column->addLayout(byNumber);
    column->addWidget(CheckBox1);
    column->addSpacing(metrics.height() / 2);
    column->addLayout(ButtonRow({OkBtn, CancelBtn}));

    connect(AddBtn1, &QPushButton::clicked, this, &TDestForm::AddBtn1Click);
    connect(AddBtn2, &QPushButton::clicked, this, &TDestForm::AddBtn2Click);
    connect(DelBtn, &QPushButton::clicked, this, &TDestForm::DelBtnClick);
    connect(UpBtn, &QPushButton::clicked, this, &TDestForm::UpBtnClick);
    connect(DownBtn, &QPushButton::clicked, this, &TDestForm::DownBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &TDestForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TDestForm::SetRoute(const std::string& route) {
    ListBox1->clear();
    std::string rest = route;
    while (!rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string part = rest.substr(0, slash);
        rest.erase(0, slash == std::string::npos ? rest.size() : slash + 1);
        if (part.empty())
            continue;
        int32_t room = 0;
        if (RoomNumber(part, room)) {
            ListBox1->addItem(RouteEntry(FromCp1251(rooms_.CaptionOf(room)), room));
        } else {
            auto* item = new QListWidgetItem(
                FromCp1251(part) + QStringLiteral("  (не номер комнаты)"), ListBox1);
            item->setData(kRoutePartRole, QByteArray::fromStdString(part));
        }
    }
}

std::string TDestForm::Route() const {
    std::string route;
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (i > 0)
            route += '/';
        route += ListBox1->item(i)->data(kRoutePartRole).toByteArray().toStdString();
    }
    return route;
}

void TDestForm::SetRoomSource(std::function<std::vector<TListEntry>()> source) {
    roomSource_ = std::move(source);
}

void TDestForm::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TDestForm::FormActivate() {
    ComboBox1->clear();
    const std::vector<TListEntry> rooms = roomSource_ ? roomSource_() : rooms_.ListEntries();
    for (const TListEntry& room : rooms)
        ComboBox1->addItem(FromCp1251(room.Text), room.VNum);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setFocus();
}

int TDestForm::SelectedRow() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item && item->isSelected() ? ListBox1->row(item) : -1;
}

void TDestForm::Place(QListWidgetItem* item) {
    const int row = SelectedRow();
    if (!CheckBox1->isChecked() && row >= 0)
        ListBox1->insertItem(row, item);
    else
        ListBox1->addItem(item);
}

void TDestForm::AddBtn1Click() {
    if (ComboBox1->currentIndex() < 0) {
        Prompts().Error(QStringLiteral("Выберите комнату"));
        return;
    }
    Place(RouteEntry(ComboBox1->currentText(), ComboBox1->currentData(kCodeRole).toInt()));
}

void TDestForm::AddBtn2Click() {
    SpinEdit1->interpretText();
    const int room = SpinEdit1->value();
    Place(RouteEntry(QString::number(room), room));
}

void TDestForm::DelBtnClick() {
    const int row = SelectedRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите комнату"));
        return;
    }
    if (!Prompts().Confirm(QStringLiteral("Вы действительно хотите удалить эту комнату из пути?")))
        return;
    delete ListBox1->takeItem(row);
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(std::min(row, ListBox1->count() - 1));
}

void TDestForm::Swap(int row, int other) {
    QListWidgetItem* item = ListBox1->takeItem(row);
    ListBox1->insertItem(other, item);
    ListBox1->setCurrentRow(other);
}

void TDestForm::UpBtnClick() {
    const int row = SelectedRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите комнату"));
        return;
    }
    if (row > 0)
        Swap(row, row - 1);
}

void TDestForm::DownBtnClick() {
    const int row = SelectedRow();
    if (row < 0) {
        Prompts().Error(QStringLiteral("Выберите комнату"));
        return;
    }
    if (row < ListBox1->count() - 1)
        Swap(row, row + 1);
}

void TDestForm::OkBtnClick() {
    AcceptOk();
}
