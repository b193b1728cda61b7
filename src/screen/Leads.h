#pragma once

#include <bitset>
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
    // Whether `held` less its last byte is printable and a proper start of
    // the attention sequence: those bytes were text, not a command.
    bool breaksOffAttention(const CommandSets::Description &set, QByteArrayView held) const;

    // Whether a command taken between commands begins with `byte`: most
    // text begins none, and is then written without a look at each lead.
    bool begins(quint8 byte) const { return m_starts.test(byte); }

private:
    void findStarts(const CommandSets::Description &set);

    std::bitset<256> m_starts;
    std::string m_attention;
    std::vector<std::string> m_changed; // empty: the set's own
};
