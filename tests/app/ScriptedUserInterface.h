#pragma once

#include "base/UserInterface.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

// A person who answers as the test scripted, and a record of what they were shown.
class ScriptedUserInterface : public UserInterface {
public:
    void alert(const QString& message, const QString& informative) override
    {
        alerts.append(message);
        informatives.append(informative);
    }
    bool confirm(const QString& message, const QString& informative) override
    {
        questions.append(message.isEmpty() ? informative : message);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool confirm(const QString& message, const QString& informative, const QString& defaultButton,
                 const QString& otherButton) override
    {
        buttonTitles.append({defaultButton, otherButton});
        return confirm(message, informative);
    }
    std::optional<QString> chooseFolder(const FolderChoice& choice) override
    {
        chooserStarts.append(choice.startFolder);
        if (folders.empty())
            return std::nullopt;
        QString folder = folders.front();
        folders.pop_front();
        return folder;
    }
    void preview(const QString& path) override { previewed.append(path); }
    void reveal(const QString& path) override { revealed.append(path); }
    void open(const QString& path) override { opened.append(path); }

    std::deque<bool> answers;    // replies to confirm(), in order; false when none left
    std::deque<QString> folders; // folders chosen, in order; cancel when none left
    QStringList alerts, informatives, questions, chooserStarts, previewed, revealed, opened;
    QList<QStringList> buttonTitles; // {default, other} of each question asked with titles
};
