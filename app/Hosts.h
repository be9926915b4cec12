// The hosts the program talks to: the blog service, its image host and the
// author's page. Constants of the program, each moved by an environment
// variable for tests and the demo (QUILLVAULT_BLOG_HOST,
// QUILLVAULT_IMAGE_HOST, QUILLVAULT_AUTHOR_HOST).
#pragma once
#include "platform/core/UString.h"

namespace qv {

String BlogHost();
String ImageHost();
// "http://" + the author's host + "/brenlow"
String AuthorPageUrl();
// A page below the author's page, shown in the advice lines.
String FeedbackUrl();

}  // namespace qv
