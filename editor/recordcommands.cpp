#include "recordcommands.h"

#include "mainform.h"
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

namespace {

template <class List, class Templates>
TRecordKind KindOf(List& list, const Templates& templates, const char* full, const char* taken,
                   const char* confirm, int held = 100, const char* reserved = nullptr) {
    TRecordKind kind;
    kind.IsFree = [&list](int32_t vnum) { return IsFreeBesideUnparsed(list, vnum); };
    // The offsets held back are the last ones: a free slot past them is none.
    kind.FirstFreeSlot = [&list, held](int32_t zone) {
        const int slot = FirstFreeSlotBesideUnparsed(list, zone);
        return slot < held ? slot : 100;
    };
    kind.Slots = held;
    kind.Reserved = reserved;
    kind.AddNew = [&list, &templates](int32_t vnum, int templet) {
        auto& record = list.AddNew(vnum);
        if (templet >= 0 && templet < templates.Count())
            templates.Apply(templet, record); // the record keeps its number
    };
    kind.AddCopy = [&list](int32_t vnum, int32_t source) {
        const int from = list.IndexOfVNum(source);
        auto& record = list.AddNew(vnum);
        if (from >= 0)
            record.Assign(list[from]);
    };
    kind.Delete = [&list](int32_t vnum) {
        const int index = list.IndexOfVNum(vnum);
        if (index >= 0)
            list.Delete(index);
    };
    kind.DeleteUnparsed = [&list](int32_t zone, int index) {
        const TFileFrame* kept = list.FrameOf(zone);
        if (!kept || index < 0 || static_cast<size_t>(index) >= kept->Unparsed.size())
            return;
        TFileFrame frame = *kept;
        frame.Unparsed.erase(frame.Unparsed.begin() + index);
        list.SetFrame(zone, frame);
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

TRecordCommands::TRecordCommands(TMainForm& main) : QObject(&main), main_(main) {
    kinds_ = {
        KindOf(main.World().Rooms, main.RoomTemplet, "В зону больше нельзя добавить комнат",
               "Комната с таким номером уже есть", "Вы действительно хотите удалить эту комнату?",
               kServerRoomOffset,
               "Номер %1 сервер отводит своей комнате (номер зоны и 99): выберите другой номер"),
        KindOf(main.World().Objs, main.ObjTemplet, "В зону больше нельзя добавить объектов",
               "Объект с таким номером уже есть", "Вы действительно хотите удалить этот объект?"),
        KindOf(main.World().Mobs, main.MobTemplet, "В зону больше нельзя добавить мобов",
               "Моб с таким номером уже есть", "Вы действительно хотите удалить этого моба?"),
        KindOf(main.World().Shops, main.ShopTemplet, "В зону больше нельзя добавить магазинов",
               "Магазин с таким номером уже есть", "Вы действительно хотите удалить этот магазин?"),
        KindOf(main.World().Triggers, main.TrigTemplet, "В зону больше нельзя добавить триггеров",
               "Триггер с таким номером уже есть", "Вы действительно хотите удалить этот триггер?"),
    };
    connect(main.N17, &QAction::triggered, this, &TRecordCommands::Add);
    connect(main.N18, &QAction::triggered, this, &TRecordCommands::Delete);
    connect(main.N19, &QAction::triggered, this, &TRecordCommands::Copy);
    connect(main.ToolsForm, &TToolsForm::newClicked, this, &TRecordCommands::Add);
    connect(main.ToolsForm, &TToolsForm::deleteClicked, this, &TRecordCommands::Delete);
    connect(main.ToolsForm, &TToolsForm::copyClicked, this, &TRecordCommands::Copy);
}

void TRecordCommands::AddOne(int page, int32_t vnum, int templet) {
    kinds_[static_cast<size_t>(page - 1)].AddNew(vnum, templet);
}

void TRecordCommands::Step(int page, int32_t vnum, const QString& text,
                           const std::function<void()>& edit) {
    TStepPlace place = main_.PlaceOn(page);
    place.VNum = vnum;
    main_.Document->Change(place, text, edit);
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
            Step(page, vnum, TMainForm::StepText(QStringLiteral("добавление"), page, vnum),
                 [&] { AddOne(page, vnum, templet); });
            main_.EnableRecordCommands(true);
            Select(page, vnum);
        }
    } else if (dialog.InputMode() == 2) {
        records->SelectionChanged();
        const int32_t first = z * 100 + kind.FirstFreeSlot(z);
        const int quantity = dialog.Quantity();
        QString text = TMainForm::StepText(QStringLiteral("добавление"), page, first);
        if (quantity > 1)
            text += QStringLiteral(" и следующих (%1)").arg(quantity);
        Step(page, first, text, [&] {
            // The free numbers fill from the lowest up, gaps first.
            for (int i = 0; i < quantity && kind.FirstFreeSlot(z) < 100; ++i)
                AddOne(page, z * 100 + kind.FirstFreeSlot(z), templet);
        });
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
    const QString text = TMainForm::StepText(QStringLiteral("копирование"), page, source) +
                         QStringLiteral(" в ") + QString::number(vnum);
    Step(page, vnum, text, [&] { kind.AddCopy(vnum, source); });
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
        main_.Document->Change(main_.PlaceOn(page),
                               QStringLiteral("удаление непрочитанной записи ") +
                                   FromCp1251(UnparsedName(*shown)),
                               [&] { kind.DeleteUnparsed(zone, index); });
        SelectAfterDelete(page, row);
        return;
    }
    const int32_t vnum = records->IDComboBox->itemData(row).toInt();
    Step(page, vnum, TMainForm::StepText(QStringLiteral("удаление"), page, vnum),
         [&] { kind.Delete(vnum); });
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
