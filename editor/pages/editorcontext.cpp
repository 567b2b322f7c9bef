#include "editorcontext.h"

#include "worlddocument.h"

QString StepText(const QString& action, int page, int32_t vnum) {
    return action + QLatin1Char(' ') + QString::fromUtf8(PageKind(page).Genitive) +
           QLatin1Char(' ') + QString::number(vnum);
}

TWorld& TEditorContext::World() const {
    return Document->World();
}

TKindNameLookup TEditorContext::KindName() const {
    return [this](int32_t code) {
        for (const auto& kind : ItemKinds)
            if (kind.Code == code)
                return kind.Text;
        return std::string();
    };
}
