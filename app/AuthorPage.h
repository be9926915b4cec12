// Where the author's page is: a constant of the program, moved by the
// environment variable QUILLVAULT_AUTHOR_HOST for tests and the demo.
#pragma once
#include "platform/core/UString.h"

namespace qv {

// "http://" + host + "/brenlow"
String AuthorPageUrl();
// A page below the author's page, shown in the advice lines.
String FeedbackUrl();

}  // namespace qv
