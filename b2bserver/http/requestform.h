#pragma once
// The request form an unknown computer is sent to: GET /formmailgonder.aspx shows a
// Turkish HTML form for the computer identifier of the query, POST stores the request
// in the mail outbox and answers with a confirmation page.
namespace httplib {
class Server;
}
namespace store {
class Store;
}

namespace http {

void addRequestFormRoutes(httplib::Server &web, store::Store &store);

} // namespace http
