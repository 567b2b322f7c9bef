#pragma once

// Scripted prompts for the GUI tests. A test lists the prompts it expects, in
// order, with the answers; every prompt that arrives is recorded. A prompt the
// script does not expect (wrong kind, wrong text, or none left) fails the
// running test, and so does a script left unfinished when the fake goes away.

#include "prompts.h"

#include <QByteArray>
#include <QDebug>
#include <QList>
#include <QTest>
#include <deque>
#include <functional>
#include <utility>

enum class TPromptKind { Error, Information, Confirm, Choice, OpenFile, SaveFile, Folder };

inline const char* PromptKindName(TPromptKind kind) {
    switch (kind) {
    case TPromptKind::Error:
        return "error box";
    case TPromptKind::Information:
        return "information box";
    case TPromptKind::Confirm:
        return "confirmation";
    case TPromptKind::Choice:
        return "question";
    case TPromptKind::OpenFile:
        return "open-file dialog";
    case TPromptKind::SaveFile:
        return "save-file dialog";
    case TPromptKind::Folder:
        return "folder dialog";
    }
    return "?";
}

// One prompt as it arrived.
struct TPromptCall {
    TPromptKind Kind;
    QString Text; // the message of a box, the caption of the folder dialog
    QString Folder;
    QString FileName;
    QList<TFileFilter> Filters;
};

class TFakePrompts : public TPrompts {
public:
    // Installs itself as the process-wide prompts until destroyed.
    explicit TFakePrompts(std::string programFolder = "/velmora-test-program/")
        : programFolder_(std::move(programFolder)) {
        SetPrompts(this);
    }
    ~TFakePrompts() override {
        SetPrompts(nullptr);
        if (!script_.empty())
            Fail(QStringLiteral("the script still expects a %1 \"%2\"")
                     .arg(QLatin1String(PromptKindName(script_.front().Kind)),
                          script_.front().Text));
    }
    TFakePrompts(const TFakePrompts&) = delete;
    TFakePrompts& operator=(const TFakePrompts&) = delete;

    void ExpectError(const QString& text) {
        script_.push_back({TPromptKind::Error, text, false, {}});
    }
    void ExpectInformation(const QString& text) {
        script_.push_back({TPromptKind::Information, text, false, {}});
    }
    void ExpectConfirm(const QString& text, bool answer) {
        script_.push_back({TPromptKind::Confirm, text, answer, {}});
    }
    // A question of several buttons, answered by the button at `answer`
    // (kEnter: the default button, as the Enter key would).
    static constexpr int kEnter = -2;
    void ExpectChoice(const QString& text, int answer) {
        script_.push_back({TPromptKind::Choice, text, false, {}, answer});
    }
    // The path the dialog returns; empty stands for Cancel.
    void ExpectOpenFile(const QString& path) {
        script_.push_back({TPromptKind::OpenFile, {}, false, path});
    }
    void ExpectSaveFile(const QString& path) {
        script_.push_back({TPromptKind::SaveFile, {}, false, path});
    }
    // The folder the folder dialog returns; empty stands for Cancel.
    void ExpectFolder(const QString& path) {
        script_.push_back({TPromptKind::Folder, {}, false, path});
    }

    // Runs `look` when the next prompt arrives, before it is answered: what
    // the builder would see behind the box.
    void WhenAsked(std::function<void()> look) { whenAsked_ = std::move(look); }

    const QList<TPromptCall>& Calls() const { return calls_; }
    bool ScriptDone() const { return script_.empty(); }

    void Error(const QString& text) override { Box(TPromptKind::Error, text); }
    void Information(const QString& text) override { Box(TPromptKind::Information, text); }
    bool Confirm(const QString& text) override { return Box(TPromptKind::Confirm, text).Answer; }
    int Choose(const QString& text, const QStringList& answers, int defaultAnswer) override {
        const TStep step = Box(TPromptKind::Choice, text);
        if (step.Kind != TPromptKind::Choice || step.Text != text)
            return int(answers.size()) - 1;
        return step.Choice == kEnter ? defaultAnswer : step.Choice;
    }
    QString OpenFile(const QString& folder, const QString& fileName,
                     const QList<TFileFilter>& filters) override {
        return Dialog(TPromptKind::OpenFile, folder, fileName, filters);
    }
    QString SaveFile(const QString& folder, const QString& fileName,
                     const QList<TFileFilter>& filters) override {
        return Dialog(TPromptKind::SaveFile, folder, fileName, filters);
    }
    QString ChooseFolder(const QString& caption, const QString& folder) override {
        return Take({TPromptKind::Folder, caption, folder, {}, {}}).Path;
    }
    std::string ProgramFolder() override { return programFolder_; }

private:
    struct TStep {
        TPromptKind Kind;
        QString Text;
        bool Answer;
        QString Path;
        int Choice = -1;
    };

    static void Fail(const QString& why) {
        const QByteArray message = "Unexpected prompt: " + why.toUtf8();
        qCritical("%s", message.constData());
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    }

    // The next step of the script when it matches; a refusal (No, Cancel) otherwise.
    TStep Take(const TPromptCall& call) {
        calls_.append(call);
        if (whenAsked_)
            std::exchange(whenAsked_, {})();
        const QString got =
            QStringLiteral("%1 \"%2\"").arg(QLatin1String(PromptKindName(call.Kind)), call.Text);
        if (script_.empty()) {
            Fail(got + QStringLiteral(" after the end of the script"));
            return {call.Kind, {}, false, {}};
        }
        TStep step = script_.front();
        script_.pop_front();
        const bool isBox = call.Kind == TPromptKind::Error ||
                           call.Kind == TPromptKind::Information ||
                           call.Kind == TPromptKind::Confirm || call.Kind == TPromptKind::Choice;
        if (step.Kind != call.Kind || (isBox && step.Text != call.Text)) {
            Fail(got + QStringLiteral(" where the script expects a %1 \"%2\"")
                           .arg(QLatin1String(PromptKindName(step.Kind)), step.Text));
            return {call.Kind, {}, false, {}};
        }
        return step;
    }

    TStep Box(TPromptKind kind, const QString& text) { return Take({kind, text, {}, {}, {}}); }
    QString Dialog(TPromptKind kind, const QString& folder, const QString& fileName,
                   const QList<TFileFilter>& filters) {
        return Take({kind, {}, folder, fileName, filters}).Path;
    }

    std::string programFolder_;
    std::deque<TStep> script_;
    QList<TPromptCall> calls_;
    std::function<void()> whenAsked_;
};
