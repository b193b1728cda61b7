#include "screen/Leads.h"

#include <algorithm>

#include "model/Printable.h"

void Leads::reset(const CommandSets::Description &set)
{
    m_attention.clear();
    m_changed.clear();
    findStarts(set);
}

void Leads::findStarts(const CommandSets::Description &set)
{
    m_starts.reset();
    for (std::size_t k = 0; k < set.commands.size(); ++k) {
        if (set.commands[k].taken != CommandSets::Taken::OnlyInText && !of(set, k).empty())
            m_starts.set(quint8(of(set, k).front()));
    }
}

void Leads::changeAttention(const CommandSets::Description &set, QByteArrayView attention)
{
    const std::string_view own = set.attention;
    m_attention.assign(attention.data(), std::size_t(attention.size()));
    m_changed.clear();
    for (const CommandSets::Command &command : set.commands) {
        std::string lead(command.lead);
        if (!own.empty() && command.lead.starts_with(own))
            lead.replace(0, own.size(), m_attention);
        m_changed.push_back(std::move(lead));
    }
    findStarts(set);
}

bool Leads::breaksOffAttention(const CommandSets::Description &set, QByteArrayView held) const
{
    const QByteArrayView before = held.chopped(1);
    const std::string_view own = attention(set);
    return before.size() < qsizetype(own.size()) &&
           own.starts_with(std::string_view(before.data(), std::size_t(before.size()))) &&
           std::all_of(before.begin(), before.end(),
                       [](char code) { return Printable::contains(quint8(code)); });
}
