// How the program reaches the blog service: the hosts it talks to (the blog
// service, its image host and the author's page), constants of the program
// each moved by an environment variable (QUILLVAULT_BLOG_HOST,
// QUILLVAULT_IMAGE_HOST, QUILLVAULT_AUTHOR_HOST), and the time one request
// may take (QUILLVAULT_REQUEST_TIMEOUT).
#pragma once
#include "platform/core/UString.h"

namespace qv {

String BlogHost();
String ImageHost();
// "http://" + the author's host + "/brenlow"
String AuthorPageUrl();
// A page below the author's page, shown in the advice lines.
String FeedbackUrl();
// Milliseconds until the whole answer of a request must have arrived: the
// variable's whole seconds, two minutes when it is unset or not a positive
// number.
int RequestTimeoutMs();

}  // namespace qv
