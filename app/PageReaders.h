// Readers of the blog service's pages. They know the pages only through
// fixed marker texts and cut what lies between them; they parse nothing
// else. Each reader comes in two halves: the cut over a page's text (pure,
// tested on its own) and the call that fetches the page first.
#pragma once
#include <memory>

#include "platform/core/HttpClient.h"
#include "platform/core/StringList.h"

namespace qv {

// "http://" + host + "/" + userName, the user name inserted as typed.
String BlogHomeUrl(StringView blogHost, StringView userName);

// The address of the first article-list page named on a home page: the
// anchor after the home tab, before the list tab label; empty when the label
// is missing.
String FirstMuluFromPage(StringView page, StringView homeUrl);
// Article addresses of a list page, in page order, neither de-duplicated
// nor checked.
std::unique_ptr<TStringList> UrlsFromPage(StringView page);
// The body fragment of an article page (from its start marker up to its end
// marker); title receives the text between "<title>" and the first "_".
String ContentFromPage(StringView page, String& title);

// What a run that found no article-list tab on the home page says: the
// name is wrong, or the page no longer looks as the readers expect.
String NoArticleListMessage(StringView userName, StringView homeUrl);

// The fetching readers. None catches an error of the client.
String GetFirstMulu(THttpGetter& http, StringView blogHost, StringView userName);
std::unique_ptr<TStringList> GetURLS(THttpGetter& http, StringView url);
String GetContent(THttpGetter& http, StringView url, String& title);

// Lets the fragment's lazily loaded images load directly: the transparent
// placeholder on the image host followed by real_src becomes plain src.
void ReplaceContent(String& content, StringView imageHost);

}  // namespace qv
