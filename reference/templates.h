#pragma once

// Record templates: named, partly filled records a new room, object, mob,
// shop or trigger can start from. Five files in Bases/, one per kind.

#include "mob.h"
#include "obj.h"
#include "room.h"
#include "shop.h"
#include "trigger.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// One template set: names in file order (duplicates kept), each owning a record.
template <class T> class TTemplateSet {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Name(int i) const { return items_[static_cast<size_t>(i)].first; }
    const T& Record(int i) const { return *items_[static_cast<size_t>(i)].second; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : items_)
            names.push_back(item.first);
        return names;
    }
    // Gives `target` the template's values through the record's copy; the
    // target keeps its number.
    void Apply(int i, T& target) const { target.Assign(Record(i)); }

    void Clear() { items_.clear(); }
    T& Add(std::string name) {
        items_.emplace_back(std::move(name), std::make_unique<T>(0));
        return *items_.back().second;
    }

private:
    std::vector<std::pair<std::string, std::unique_ptr<T>>> items_;
};

using TObjTemplet = TTemplateSet<TObj>;
using TMobTemplet = TTemplateSet<TMob>;
using TShopTemplet = TTemplateSet<TShop>;
using TTrigTemplet = TTemplateSet<TTrigger>;
using TRoomTemplet = TTemplateSet<TRoom>;

// Each loader empties the set and reads the file. A failure is reported
// with the kind's message and the line; the templates read before it stay.
// False after a failure.
bool LoadTemplates(TObjTemplet& set, const std::string& fileName);
bool LoadTemplates(TMobTemplet& set, const std::string& fileName);
// `kindName` names the item kinds of "GoodsBuy:" and "GoodsChange:".
bool LoadTemplates(TShopTemplet& set, const std::string& fileName,
                   const TKindNameLookup& kindName = {});
// A trigger template's "Script:" lines are its script, one line each.
bool LoadTemplates(TTrigTemplet& set, const std::string& fileName);
bool LoadTemplates(TRoomTemplet& set, const std::string& fileName);
