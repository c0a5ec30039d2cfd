#pragma once
// The currency update's surroundings for the tests, the fuzzer and the bench: answers the
// questions in order (then No) and hands over the document from memory; records, one
// letter a message, what the user was shown: C the connect question, R the recreate
// question, E the read error, F the connection failure.
#include "rates/CurrencyUpdate.h"

#include "store/DaoException.h"

#include <deque>
#include <optional>
#include <string>
#include <utility>

class ScriptedSite : public ICurrencyUpdateSite
{
public:
    ScriptedSite(std::deque<bool> answers, std::optional<std::string> document)
        : m_answers(std::move(answers)), m_document(std::move(document))
    {
    }
    bool Ask(const std::wstring& question) override
    {
        Show(question);
        const bool yes = !m_answers.empty() && m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        return yes;
    }
    void Tell(const std::wstring& failure) override { Show(failure); }
    void ReportEngineError(const CDaoException& e) override { engineError = e.what(); }
    bool DownloadDocument() override { return m_document.has_value(); }
    bool ReadDocument(std::string& bytes) override
    {
        bytes = m_document.value_or("");
        return readable;
    }
    void DeleteDocument() override { ++deletions; }

    bool readable = true;
    std::string shown, engineError;
    int deletions = 0;

private:
    void Show(const std::wstring& text)
    {
        for (const auto& [start, letter] : {std::pair{L"Kalvo will connect", 'C'},
                                           {L"New currency rates", 'R'},
                                           {L"Error reading file", 'E'},
                                           {L"Connection to ECB failed", 'F'}})
            if (text.rfind(start, 0) == 0)
                shown += letter;
    }
    std::deque<bool> m_answers;
    std::optional<std::string> m_document;
};
