// The members' site as the check-in sees it: its two addresses, the login
// form and the header block sent with the login, all built from the host.
#pragma once

#include "text/text.h"

// Host of the members' site, optionally with ":port". Defined by the
// program (from the build's QUORVEXA_SITE_HOST), so a test build can point
// the same code at a local site.
extern const char site_host[];

struct SiteTexts {
    Text login_url;
    Text check_in_url;
    Text form_prefix;
    Text login_headers;
};

SiteTexts site_texts(const Text& host);

// The login body: the prefix, the user name as given (already encoded),
// then the password field and the password's bytes exactly as typed.
Text login_form(const SiteTexts& site, const Text& encoded_user, const Text& password);
