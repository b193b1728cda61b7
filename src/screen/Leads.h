#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QByteArrayView>

#include "commandsets/CommandSet.h"

// The leads of a set's commands as a display reads them now: after a till
// changed the attention sequence (AEDEX "!#8"), the new one stands in place
// of the set's own at the start of each command that began with it.
class Leads
{
public:
    // The set's own, as at power-on.
    void reset(const CommandSets::Description &set);

    std::string_view of(const CommandSets::Description &set, std::size_t k) const
    {
        return m_changed.empty() ? set.commands[k].lead : std::string_view(m_changed[k]);
    }
    std::string_view attention(const CommandSets::Description &set) const
    {
        return m_changed.empty() ? set.attention : std::string_view(m_attention);
    }

    void changeAttention(const CommandSets::Description &set, QByteArrayView attention);

private:
    std::string m_attention;
    std::vector<std::string> m_changed; // empty: the set's own
};
