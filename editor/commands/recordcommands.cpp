#include "recordcommands.h"

#include "editorcontext.h"
#include "numberform.h"
#include "prompts.h"
#include "recordpage.h"
#include "serverrules.h"
#include "textcodec.h"
#include "toolsform.h"
#include "unparsed.h"
#include "worlddocument.h"
#include "world.h"
#include "zonepage.h"

#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <algorithm>
#include <type_traits>

namespace {

template <class List, class Templates>
TRecordKind KindOf(TWorldDocument& document, List& list, const Templates& templates,
                   const char* full, const char* taken, const char* confirm, int held = 100,
                   const char* reserved = nullptr) {
    using Record = std::remove_cvref_t<decltype(list[0])>;
    TRecordKind kind;
    kind.IsFree = [&list](int32_t vnum) { return IsFreeBesideUnparsed(list, vnum); };
    // The offsets held back are the last ones: a free slot past them is none.
    kind.FirstFreeSlot = [&list, held](int32_t zone) {
        const int slot = FirstFreeSlotBesideUnparsed(list, zone);
        return slot < held ? slot : 100;
    };
    kind.Slots = held;
    kind.Reserved = reserved;
    kind.AddNew = [&document, &templates](const TStepPlace& place, const QString& text,
                                          const std::vector<int32_t>& vnums, int templet) {
        std::vector<Record> records;
        for (const int32_t vnum : vnums) {
            Record& record = records.emplace_back(vnum);
            if (templet >= 0 && templet < templates.Count())
                templates.Apply(templet, record); // the record keeps its number
        }
        document.AddRecords(place, text, std::move(records));
    };
    kind.AddCopy = [&document, &list](const TStepPlace& place, const QString& text, int32_t vnum,
                                      int32_t source) {
        std::vector<Record> records;
        Record& record = records.emplace_back(vnum);
        if (const Record* from = list.Find(source))
            record.Assign(*from);
        document.AddRecords(place, text, std::move(records));
    };
    kind.TemplateNames = [&templates] { return templates.Names(); };
    kind.ZoneFull = full;
    kind.NumberTaken = taken;
    kind.ConfirmDelete = confirm;
    return kind;
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A number the builder chose is free and may be held; otherwise says why not.
bool Acceptable(const TRecordKind& kind, int32_t zone, int offset) {
    const int32_t vnum = zone * 100 + offset;
    if (offset >= kind.Slots) {
        Prompts().Error(Text(kind.Reserved).arg(vnum));
        return false;
    }
    if (!kind.IsFree(vnum)) {
        Prompts().Error(Text(kind.NumberTaken));
        return false;
    }
    return true;
}

} // namespace

int TRecordKind::FreeSlots(int32_t zone) const {
    int free = 0;
    for (int offset = 0; offset < Slots; ++offset)
        free += IsFree(zone * 100 + offset);
    return free;
}

TRecordCommands::TRecordCommands(TEditorContext& main) : QObject(main.Window()), main_(main) {
    TWorldDocument& document = *main.Document;
    kinds_ = {
        KindOf(document, main.World().Rooms, main.RoomTemplet, "В зону больше нельзя добавить комнат",
               "Комната с таким номером уже есть", "Вы действительно хотите удалить эту комнату?",
               kServerRoomOffset,
               "Номер %1 сервер отводит своей комнате (номер зоны и 99): выберите другой номер"),
        KindOf(document, main.World().Objs, main.ObjTemplet, "В зону больше нельзя добавить объектов",
               "Объект с таким номером уже есть", "Вы действительно хотите удалить этот объект?"),
        KindOf(document, main.World().Mobs, main.MobTemplet, "В зону больше нельзя добавить мобов",
               "Моб с таким номером уже есть", "Вы действительно хотите удалить этого моба?"),
        KindOf(document, main.World().Shops, main.ShopTemplet, "В зону больше нельзя добавить магазинов",
               "Магазин с таким номером уже есть", "Вы действительно хотите удалить этот магазин?"),
        KindOf(document, main.World().Triggers, main.TrigTemplet, "В зону больше нельзя добавить триггеров",
               "Триггер с таким номером уже есть", "Вы действительно хотите удалить этот триггер?"),
    };
    connect(main.ToolsForm, &TToolsForm::newClicked, this, &TRecordCommands::Add);
    connect(main.ToolsForm, &TToolsForm::deleteClicked, this, &TRecordCommands::Delete);
    connect(main.ToolsForm, &TToolsForm::copyClicked, this, &TRecordCommands::Copy);
}

TStepPlace TRecordCommands::PlaceOf(int page, int32_t vnum) const {
    TStepPlace place = main_.PlaceOn(page);
    place.VNum = vnum;
    return place;
}

void TRecordCommands::Select(int page, int32_t vnum) {
    TRecordPage* records = main_.RecordPage(page);
    records->SelectRow(records->RowOf(vnum));
}

void TRecordCommands::Add() {
    const int page = main_.CurrentPage();
    if (page == ZonePageIndex) {
        main_.ZonePage->NewZone();
        return;
    }
    const TZone* zone = main_.ZonePage->CurrentZone();
    if (!zone)
        return;
    const TRecordKind& kind = kinds_[static_cast<size_t>(page - 1)];
    TRecordPage* records = main_.RecordPage(page);
    TNumberForm& dialog = *main_.NumberForm;
    dialog.SetQuantityEnabled(true);
    const int32_t z = zone->ZoneNumber;
    const int free = kind.FreeSlots(z);
    if (free == 0) {
        Prompts().Error(Text(kind.ZoneFull));
        return;
    }
    dialog.NumEdit->setValue(records->Count() > 0 ? kind.FirstFreeSlot(z) : 0);
    dialog.SetMaxQuantity(free);
    dialog.SetTemplateNames(kind.TemplateNames());
    dialog.exec();
    if (!dialog.Accepted())
        return;
    const int templet = dialog.TemplateIndex();
    if (dialog.InputMode() == 1) {
        const int32_t vnum = z * 100 + dialog.Number();
        if (Acceptable(kind, z, dialog.Number())) {
            records->SelectionChanged(); // the shown record is stored first
            kind.AddNew(PlaceOf(page, vnum), StepText(QStringLiteral("добавление"), page, vnum),
                        {vnum}, templet);
            main_.EnableRecordCommands(true);
            Select(page, vnum);
        }
    } else if (dialog.InputMode() == 2) {
        records->SelectionChanged();
        const int32_t first = z * 100 + kind.FirstFreeSlot(z);
        const int quantity = dialog.Quantity();
        QString text = StepText(QStringLiteral("добавление"), page, first);
        if (quantity > 1)
            text += QStringLiteral(" и следующих (%1)").arg(quantity);
        // The free numbers fill from the lowest up, gaps first.
        std::vector<int32_t> vnums;
        for (int offset = 0; offset < kind.Slots && static_cast<int>(vnums.size()) < quantity;
             ++offset)
            if (kind.IsFree(z * 100 + offset))
                vnums.push_back(z * 100 + offset);
        kind.AddNew(PlaceOf(page, first), text, vnums, templet);
        main_.EnableRecordCommands(true);
        Select(page, first);
    }
}

void TRecordCommands::Copy() {
    const int page = main_.CurrentPage();
    const TZone* zone = main_.ZonePage->CurrentZone();
    if (page == ZonePageIndex || !zone)
        return;
    const TRecordKind& kind = kinds_[static_cast<size_t>(page - 1)];
    TRecordPage* records = main_.RecordPage(page);
    if (!records->HasSelection() || records->CurrentUnparsed)
        return;
    TNumberForm& dialog = *main_.NumberForm;
    dialog.SetQuantityEnabled(false);
    const int32_t z = zone->ZoneNumber;
    // A full zone shows 99: taken, or for rooms the server's own.
    dialog.NumEdit->setValue(kind.FirstFreeSlot(z));
    dialog.SetTemplateNames(kind.TemplateNames());
    dialog.exec();
    if (!dialog.Accepted())
        return;
    const int32_t vnum = z * 100 + dialog.Number();
    if (!Acceptable(kind, z, dialog.Number()))
        return;
    records->SelectionChanged(); // the source's edits are stored and copied too
    const int32_t source = records->IDComboBox->currentData().toInt();
    const QString text = StepText(QStringLiteral("копирование"), page, source) +
                         QStringLiteral(" в ") + QString::number(vnum);
    kind.AddCopy(PlaceOf(page, vnum), text, vnum, source);
    Select(page, vnum);
}

void TRecordCommands::Delete() {
    const int page = main_.CurrentPage();
    if (page == ZonePageIndex || !main_.ZonePage->CurrentZone())
        return;
    const TRecordKind& kind = kinds_[static_cast<size_t>(page - 1)];
    TRecordPage* records = main_.RecordPage(page);
    if (!records->HasSelection())
        return;
    if (!Prompts().Confirm(Text(kind.ConfirmDelete)))
        return;
    main_.SetChanged(false); // the page's edits are dropped, not stored
    const int row = records->IDComboBox->currentIndex();
    if (const TUnparsedRecord* shown = records->ShownUnparsed()) {
        // Its text goes from the file, as one step an undo brings back.
        const int index = *records->CurrentUnparsed;
        const int32_t zone = main_.ZonePage->CurrentZone()->ZoneNumber;
        main_.Document->DeleteUnparsed(main_.PlaceOn(page),
                                       QStringLiteral("удаление непрочитанной записи ") +
                                           FromCp1251(UnparsedName(*shown)),
                                       RecordTypeAt(static_cast<size_t>(page)), zone, index);
        SelectAfterDelete(page, row);
        return;
    }
    const int32_t vnum = records->IDComboBox->itemData(row).toInt();
    main_.Document->DeleteRecord(PlaceOf(page, vnum),
                                 StepText(QStringLiteral("удаление"), page, vnum),
                                 RecordTypeAt(static_cast<size_t>(page)), vnum);
    SelectAfterDelete(page, row);
}

void TRecordCommands::SelectAfterDelete(int page, int row) {
    TRecordPage* records = main_.RecordPage(page);
    if (records->Count() > 0) {
        records->SelectRow(std::min(row, records->Count() - 1));
    } else {
        records->Current.reset();
        if (records->CurrentUnparsed) {
            records->CurrentUnparsed.reset();
            records->ShowCurrent(); // the blank record in place of the text
        }
        main_.EnableRecordCommands(false);
    }
}
