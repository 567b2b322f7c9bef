// The mob page's transfer between record and controls, and its handlers.

#include "descform.h"
#include "destform.h"
#include "keptnumber.h"
#include "listform.h"
#include "mainform.h"
#include "mobpage.h"
#include "modeltext.h"
#include "prompts.h"
#include "recordpage.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "worldlists.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class T> void ReadCombo(const QComboBox* combo, T& field) {
    field = static_cast<T>(ReadCode(combo, field));
}

} // namespace

void TMobPage::ShowGrid(QTableWidget* grid, const std::vector<int32_t>& entries, bool counts) {
    const int column = grid->columnCount() - 1;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const int code = grid->item(row, 0)->data(kCodeRole).toInt();
        int value = 0;
        if (counts) {
            for (const int32_t entry : entries)
                if (PairNumber(entry) == code)
                    value += PairValue(entry);
        } else {
            for (const int32_t entry : entries)
                if (PairNumber(entry) == code) {
                    value = PairValue(entry);
                    break;
                }
        }
        grid->item(row, column)->setText(QString::number(value));
    }
}

std::vector<int32_t> TMobPage::ReadGrid(const QTableWidget* grid,
                                        const std::vector<int32_t>& entries) {
    std::vector<std::pair<int, int>> rows;
    const int column = grid->columnCount() - 1;
    for (int row = 0; row < grid->rowCount(); ++row)
        rows.emplace_back(grid->item(row, 0)->data(kCodeRole).toInt(),
                          grid->item(row, column)->text().toInt());
    return MergeGridPairs(entries, rows);
}

void TMobPage::ShowOnPage(const TMob& mob) {
    const TShowing showing(showing_);
    ShowLine(M_AliasEdit, FromCp1251(mob.Alias));
    const std::array<const std::string*, 6> names = {&mob.Imen, &mob.Rod,  &mob.Dat,
                                                     &mob.Vin,  &mob.Tvor, &mob.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        ShowLine(Names.Names[i], FromCp1251(*names[i]));
    ShowLine(M_DescEdit, FromCp1251(mob.Desc));
    look_ = mob.Look;
    ShowLine(M_FullDescEdit, FirstLine(look_));

    FlagsToChecks(mob.Flags, M_ActionCheckListBox);
    FlagsToChecks(mob.Affects, M_AffectCheckListBox);
    ShowCode(M_AlignComboBox, mob.Align);
    ShowCode(M_LevelComboBox, mob.Level);
    ShowCode(M_Thac0ComboBox, mob.Hitroll);
    ShowCode(M_ACComboBox, mob.AC);

    Hits.Show(mob.Hits);
    Damage.Show(mob.Damage);
    Money.Show(mob.Money);

    M_ExpEdit->setValue(mob.Exp);
    ShowCode(M_State1ComboBox, mob.PosLoad);
    ShowCode(M_State2ComboBox, mob.PosDefault);
    ShowCode(M_SexComboBox, mob.Pol);
    ShowCode(M_BareHandComboBox, mob.BareHandAttack);
    destination_ = mob.Destination;
    ShowLine(M_DestinationEdit, FromCp1251(destination_));
    const std::array<std::pair<QComboBox*, int>, 10> coded = {{
        {M_StrComboBox, mob.Str},
        {M_IntComboBox, mob.Int},
        {M_WisComboBox, mob.Wis},
        {M_DexComboBox, mob.Dex},
        {M_ConComboBox, mob.Con},
        {M_ChaComboBox, mob.Cha},
        {M_LikeWorkComboBox, mob.LikeWork},
        {M_MaxFactorComboBox, mob.MaxFactor},
        {M_ExtraAttackComboBox, mob.ExtraAttack},
        {M_ClassComboBox, mob.Model},
    }};
    for (const auto& [combo, code] : coded)
        ShowCode(combo, code);
    M_SizeEdit->setValue(mob.Size);
    M_HeightEdit->setValue(mob.Height);
    M_Weight->setValue(mob.Weight);
    kept_->Show(M_MaxInWorldEdit, mob.MaxInWorld);
    FlagsToChecks(mob.Special, M_SpecialCheckListBox);

    ShowGrid(M_SpellsStringGrid, mob.Spells, true);
    ShowGrid(M_SkillsStringGrid, mob.Skills, false);

    M_HelperListBox->clear();
    for (const int32_t helper : mob.Helper)
        M_HelperListBox->addItem(QString::number(helper));

    Triggers->Show(mob.Triggers);
}

void TMobPage::ReadFromPage(TMob& mob) {
    mob.Alias = ToModelText(M_AliasEdit->text());
    const std::array<std::string*, 6> names = {&mob.Imen, &mob.Rod,  &mob.Dat,
                                               &mob.Vin,  &mob.Tvor, &mob.Pred};
    for (size_t i = 0; i < names.size(); ++i)
        *names[i] = ToModelText(Names.Names[i]->text());
    mob.Desc = ToModelText(M_DescEdit->text());
    mob.Look = look_;

    mob.Flags = ChecksToFlagsKeeping(M_ActionCheckListBox, mob.Flags);
    mob.Affects = ChecksToFlagsKeeping(M_AffectCheckListBox, mob.Affects);
    ReadCombo(M_AlignComboBox, mob.Align);
    ReadCombo(M_LevelComboBox, mob.Level);
    ReadCombo(M_Thac0ComboBox, mob.Hitroll);
    ReadCombo(M_ACComboBox, mob.AC);

    Hits.Read(mob.Hits);
    Damage.Read(mob.Damage);
    Money.Read(mob.Money);

    mob.Exp = M_ExpEdit->value();
    ReadCombo(M_State1ComboBox, mob.PosLoad);
    ReadCombo(M_State2ComboBox, mob.PosDefault);
    ReadCombo(M_SexComboBox, mob.Pol);
    ReadCombo(M_BareHandComboBox, mob.BareHandAttack);
    mob.Destination = destination_;
    ReadCombo(M_StrComboBox, mob.Str);
    ReadCombo(M_IntComboBox, mob.Int);
    ReadCombo(M_WisComboBox, mob.Wis);
    ReadCombo(M_DexComboBox, mob.Dex);
    ReadCombo(M_ConComboBox, mob.Con);
    ReadCombo(M_ChaComboBox, mob.Cha);
    ReadCombo(M_LikeWorkComboBox, mob.LikeWork);
    ReadCombo(M_MaxFactorComboBox, mob.MaxFactor);
    ReadCombo(M_ExtraAttackComboBox, mob.ExtraAttack);
    ReadCombo(M_ClassComboBox, mob.Model);
    mob.Size = M_SizeEdit->value();
    mob.Height = M_HeightEdit->value();
    mob.Weight = M_Weight->value();
    kept_->Read(M_MaxInWorldEdit, mob.MaxInWorld);
    mob.Special = ChecksToFlagsKeeping(M_SpecialCheckListBox, mob.Special);

    mob.Spells = ReadGrid(M_SpellsStringGrid, mob.Spells);
    mob.Skills = ReadGrid(M_SkillsStringGrid, mob.Skills);

    mob.Helper.clear();
    for (int row = 0; row < M_HelperListBox->count(); ++row)
        mob.Helper.push_back(M_HelperListBox->item(row)->text().toInt());
    mob.Triggers = Triggers->Numbers();
}

// ---- handlers ----

void TMobPage::MobChange() {
    if (!showing_)
        main_.MobChange();
}

bool TMobPage::HasMob() const {
    return main_.RecordPage(MobPageIndex)->HasSelection();
}

void TMobPage::Name1EditChange() {
    if (!HasMob()) {
        Prompts().Information(QStringLiteral("Сначала создайте нового моба"));
        return;
    }
    MobChange();
    SetSelectedIdText(main_.RecordPage(MobPageIndex)->IDComboBox, M_Name1Edit->text());
}

void TMobPage::CDupBtnClick() {
    if (!Prompts().Confirm(
            QStringLiteral("Заменить текст во всех падежах на текст в именительном?")))
        return;
    MobChange();
    for (size_t i = 1; i < Names.Names.size(); ++i)
        Names.Names[i]->setText(M_Name1Edit->text());
}

void TMobPage::DiceBtnClick(QPushButton* button) {
    MobChange();
    button->setText(button->text() == QStringLiteral("+") ? QStringLiteral("-")
                                                          : QStringLiteral("+"));
}

void TMobPage::AddHelperBtnClick() {
    if (M_HelperEdit->text().isEmpty() || !HasMob())
        return;
    M_HelperListBox->addItem(M_HelperEdit->text());
    MobChange();
}

void TMobPage::DelHelperBtnClick() {
    const int row = M_HelperListBox->currentRow();
    if (row < 0 || !M_HelperListBox->currentItem())
        return;
    delete M_HelperListBox->takeItem(row);
    MobChange();
}

void TMobPage::DestinationBtnClick() {
    TDestForm& dialog = *main_.DestForm;
    dialog.SetRoute(destination_);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    MobChange();
    destination_ = dialog.Route();
    M_DestinationEdit->setText(FromCp1251(destination_));
}

void TMobPage::FullDescBtnClick() {
    if (!HasMob())
        return;
    TDescForm& dialog = *main_.DescForm;
    dialog.SetLines(look_);
    dialog.exec();
    if (!dialog.Accepted())
        return;
    MobChange();
    look_ = dialog.Lines();
    M_FullDescEdit->setText(FirstLine(look_));
}

// ---- the entry point ----

void AttachMobPage(TMainForm& main) {
    TRecordPage* records = main.RecordPage(MobPageIndex);
    auto* layout = new QVBoxLayout(records->Body);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* page = new TMobPage(main, records->Body);
    layout->addWidget(page);

    records->ShowRecord = [&main, records, page](std::optional<int32_t> vnum) {
        const TMob* mob = vnum ? MobList.Find(*vnum) : nullptr;
        page->ShowOnPage(mob ? *mob : main.BlankMob);
        if (mob)
            records->ShowEntryText(*vnum, FromCp1251(TMobList::EntryOf(*mob).Text));
    };
    records->ReadRecord = [page](int32_t vnum) {
        if (TMob* mob = MobList.Find(vnum))
            page->ReadFromPage(*mob);
    };
    records->CanStore = [page] { return page->CanStore(); };
}
