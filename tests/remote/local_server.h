#pragma once
// Starts one of our python3 test servers on 127.0.0.1 and stops it again.
// The server binds a free port itself and prints it; Start() waits (bounded)
// for that line and for the port to accept connections.

#include <QProcess>
#include <QStringList>

#include <string>

namespace mirel::test {

class LocalServer {
 public:
  LocalServer() = default;
  ~LocalServer() { Stop(); }
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  // `script` is a file name in tests/remote; false with `error` set on failure.
  bool Start(const std::string& script, const QStringList& args, std::string* error);
  void Stop();
  int port() const { return port_; }

 private:
  QProcess process_;
  int port_ = 0;
};

// True when something accepts connections on 127.0.0.1:port.
bool PortAcceptsConnections(int port);

// A port on 127.0.0.1 that nothing listens on (bound once, then released).
int UnusedPort();

}  // namespace mirel::test
