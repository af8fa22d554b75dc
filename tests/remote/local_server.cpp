#include "local_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace mirel::test {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

}  // namespace

bool PortAcceptsConnections(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const sockaddr_in addr = Loopback(port);
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

int UnusedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr = Loopback(0);
  socklen_t len = sizeof addr;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
    port = ntohs(addr.sin_port);
  }
  ::close(fd);
  return port;
}

bool LocalServer::Start(const std::string& script, const QStringList& args, std::string* error) {
  QStringList all;
  all << QString::fromStdString(std::string(MIREL_REMOTE_TEST_DIR) + "/" + script) << args;
  process_.setProgram(QStringLiteral(MIREL_TEST_PYTHON3));
  process_.setArguments(all);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start();
  if (!process_.waitForStarted(10'000)) {
    *error = "cannot start " + script + ": " + process_.errorString().toStdString();
    return false;
  }
  // The first line is the port; bounded wait.
  QByteArray line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!line.contains('\n') && std::chrono::steady_clock::now() < deadline) {
    if (process_.state() != QProcess::Running) break;
    process_.waitForReadyRead(200);
    line += process_.readAllStandardOutput();
  }
  bool numeric = false;
  port_ = line.trimmed().toInt(&numeric);
  if (!numeric || port_ <= 0) {
    *error = script + " did not report its port: " + line.toStdString();
    Stop();
    return false;
  }
  for (int i = 0; i < 100 && !PortAcceptsConnections(port_); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!PortAcceptsConnections(port_)) {
    *error = script + " does not accept connections on its port";
    Stop();
    return false;
  }
  return true;
}

void LocalServer::Stop() {
  if (process_.state() != QProcess::NotRunning) {
    process_.closeWriteChannel();  // the server also leaves when its stdin closes
    process_.kill();
    process_.waitForFinished(10'000);
  }
  port_ = 0;
}

}  // namespace mirel::test
