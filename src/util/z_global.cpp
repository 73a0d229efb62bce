#include "util/z_global.h"

#include "platform/Identity.h"
#include "text/Utf8.h"

namespace util {

RuntimeState& Global()
{
    static RuntimeState state;
    return state;
}

void InitialiseGlobalState()
{
    RuntimeState& g = Global();
    g = RuntimeState{};
    g.AccountDomain = CutText(QueryAccountDomain(), 100);
    g.UserName = CutText(QueryUserName());
    g.CurrentSetStartFile.clear();
    g.CompareWithServer = false;
}

std::string CutText(std::string_view text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (chars == maxChars)
            return std::string(text.substr(0, i));
        const auto d = ::text::DecodeUtf8At(text, i);
        i += d ? d->length : 1;
        ++chars;
    }
    return std::string(text);
}

std::string QueryAccountDomain()
{
    return platform::AccountDomain();
}

std::string QueryUserName()
{
    return platform::UserName();
}

} // namespace util
