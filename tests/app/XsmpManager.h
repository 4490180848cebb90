#pragma once
// An X session manager of the test's own, on libSM's server side: it listens where its
// address() points (for SESSION_MANAGER), registers the one client that connects and sends
// it what a desktop's logout sends: SaveYourself, then Die.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>

#include <QElapsedTimer>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace lumivox::test {

class XsmpManager {
 public:
  XsmpManager() {
    // A client that goes away is an answer here, not a reason to end the test.
    IceSetIOErrorHandler([](IceConn) {});
    char error[256] = "";
    if (!SmsInitialize("lumivox-test", "1", &XsmpManager::NewClient, this, AnyHost, sizeof error, error)) return;
    if (!IceListenForConnections(&listenerCount_, &listeners_, sizeof error, error)) return;
    for (int i = 0; i < listenerCount_; ++i) IceSetHostBasedAuthProc(listeners_[i], AnyHost);
    char* ids = IceComposeNetworkIdList(listenerCount_, listeners_);
    address_ = ids;
    std::free(ids);
  }
  ~XsmpManager() {
    Close();
    if (listeners_) IceFreeListenObjs(listenerCount_, listeners_);
  }
  XsmpManager(const XsmpManager&) = delete;
  XsmpManager& operator=(const XsmpManager&) = delete;

  const std::string& address() const { return address_; }  // empty when it cannot listen
  bool registered() const { return registered_; }
  int savesDone() const { return savesDone_; }
  bool connected() const { return conn_ != nullptr; }

  void SaveYourself(bool shutdown) { SmsSaveYourself(client_, SmSaveBoth, shutdown, SmInteractStyleAny, False); }
  void Die() { SmsDie(client_); }

  // Answers the client for up to `ms`, until `done` holds.
  bool Serve(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > ms) return false;
      std::vector<pollfd> fds;
      for (int i = 0; i < listenerCount_; ++i) fds.push_back({IceGetListenConnectionNumber(listeners_[i]), POLLIN, 0});
      if (conn_) fds.push_back({IceConnectionNumber(conn_), POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
      IceAcceptStatus status;
      // A new client's handshake, as all that follows, is answered here.
      for (int i = 0; i < listenerCount_; ++i) {
        if (fds[i].revents & POLLIN) conn_ = IceAcceptConnection(listeners_[i], &status);
      }
      if (conn_ && fds.back().revents && IceProcessMessages(conn_, nullptr, nullptr) != IceProcessMessagesSuccess) {
        Close();
      }
    }
    return true;
  }

 private:
  static Bool AnyHost(char*) { return True; }

  static Status NewClient(SmsConn client, SmPointer self, unsigned long* mask, SmsCallbacks* calls, char**) {
    auto* manager = static_cast<XsmpManager*>(self);
    manager->client_ = client;
    // Every callback is required, also those this client never calls for.
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    *calls = {};
    calls->register_client = {[](SmsConn sms, SmPointer data, char* previous) {
                                std::free(previous);
                                char* id = SmsGenerateClientID(sms);
                                if (!id) return Status{0};
                                const Status replied = SmsRegisterClientReply(sms, id);
                                std::free(id);
                                static_cast<XsmpManager*>(data)->registered_ = replied != 0;
                                return replied;
                              },
                              self};
    calls->interact_request = {[](SmsConn sms, SmPointer, int) { SmsInteract(sms); }, self};
    calls->interact_done = {[](SmsConn, SmPointer, Bool) {}, self};
    calls->save_yourself_request = {[](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}, self};
    calls->save_yourself_phase2_request = {[](SmsConn sms, SmPointer) { SmsSaveYourselfPhase2(sms); }, self};
    calls->save_yourself_done = {[](SmsConn, SmPointer data, Bool) { ++static_cast<XsmpManager*>(data)->savesDone_; },
                                 self};
    calls->close_connection = {[](SmsConn, SmPointer data, int count, char** reasons) {
                                 SmFreeReasons(count, reasons);
                                 static_cast<XsmpManager*>(data)->Close();
                               },
                               self};
    calls->set_properties = {[](SmsConn, SmPointer, int count, SmProp** properties) {
                               for (int i = 0; i < count; ++i) SmFreeProperty(properties[i]);
                               std::free(properties);
                             },
                             self};
    calls->delete_properties = {[](SmsConn, SmPointer, int count, char** names) {
                                  for (int i = 0; i < count; ++i) std::free(names[i]);
                                  std::free(names);
                                },
                                self};
    calls->get_properties = {[](SmsConn sms, SmPointer) { SmsReturnProperties(sms, 0, nullptr); }, self};
    return 1;
  }

  void Close() {
    if (client_) SmsCleanUp(client_);
    client_ = nullptr;
    if (conn_) {
      IceSetShutdownNegotiation(conn_, False);
      IceCloseConnection(conn_);
    }
    conn_ = nullptr;
  }

  int listenerCount_ = 0;
  IceListenObj* listeners_ = nullptr;
  std::string address_;
  IceConn conn_ = nullptr;
  SmsConn client_ = nullptr;
  bool registered_ = false;
  int savesDone_ = 0;
};

}  // namespace lumivox::test
