// KV_SOCKET's server and client roles, run against each other in one process over 127.0.0.1.
#include "net/socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "scripted_server.h"

namespace {

// What the callbacks saw.
struct Seen {
  int accepts = 0, serverDisconnects = 0, connects = 0, clientDisconnects = 0;
  bool refuseClients = false;
  std::vector<std::string> serverData, clientData;
  std::vector<KV_HANDLE> serverFrom;
};
Seen seen;

bool OnAccept(KV_SOCKET*, KV_SOCKET_CLIENT*) {
  ++seen.accepts;
  return !seen.refuseClients;
}
void OnServerData(KV_SOCKET*, KV_SOCKET_CLIENT* client, KV_ARRAY<unsigned char>* data) {
  seen.serverData.emplace_back((const char*)data->data, data->Size());
  seen.serverFrom.push_back(*client);
}
void OnServerGone(KV_SOCKET*, KV_SOCKET_CLIENT*) { ++seen.serverDisconnects; }
bool OnConnect(KV_SOCKET*) {
  ++seen.connects;
  return true;
}
void OnClientData(KV_SOCKET*, KV_ARRAY<unsigned char>* data) {
  seen.clientData.emplace_back((const char*)data->data, data->Size());
}
void OnClientGone(KV_SOCKET*) { ++seen.clientDisconnects; }

KV_ARRAY<unsigned char> Bytes(const std::string& text) {
  KV_ARRAY<unsigned char> array((unsigned int)text.size());
  for (size_t i = 0; i < text.size(); ++i) array.data[i] = (unsigned char)text[i];
  return array;
}

std::string Joined(const std::vector<std::string>& blocks) {
  std::string all;
  for (const std::string& block : blocks) all += block;
  return all;
}

// Runs Update on the sockets once per "frame" until done() holds, at most two seconds.
template <typename Done>
bool Pump(std::vector<KV_SOCKET*> sockets, Done done) {
  for (int frame = 0; frame < 1000; ++frame) {
    for (KV_SOCKET* socket : sockets) socket->Update();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return false;
}

class Sockets : public ::testing::Test {
 protected:
  void SetUp() override {
    seen = Seen();
    ASSERT_TRUE(KV_SOCKET::Initiation());
    server.OnServerAccept = OnAccept;
    server.OnServerReceive = OnServerData;
    server.OnServerDisconnect = OnServerGone;
    for (KV_SOCKET* client : {&client1, &client2}) {
      client->OnClientConnect = OnConnect;
      client->OnClientReceive = OnClientData;
      client->OnClientDisconnect = OnClientGone;
    }
    port = ListenOnAFreePort([this](unsigned short p) { return server.Listen(p, 4); });
    ASSERT_NE(port, 0);
  }
  void TearDown() override {
    server.Close();
    client1.Close();
    client2.Close();
  }
  // Connects a client and waits until the server has accepted it.
  void Join(KV_SOCKET& client) {
    unsigned int before = server.GetClientCount();
    ASSERT_TRUE(client.Connect("127.0.0.1", port, 0));
    ASSERT_TRUE(Pump({&server}, [&] { return server.GetClientCount() == before + 1; }));
  }

  KV_SOCKET server, client1, client2;
  unsigned short port = 0;
};

TEST_F(Sockets, ServerAndClientExchangeDataThroughTheirCallbacks) {
  EXPECT_EQ(server.GetState(), 14u);
  Join(client1);
  EXPECT_EQ(client1.GetState(), 15u);
  EXPECT_EQ(seen.connects, 1);
  EXPECT_EQ(seen.accepts, 1);

  KV_ARRAY<unsigned char> hello = Bytes("hello server");
  EXPECT_EQ(client1.Send(hello, KV_HANDLE(), false, 0, 0), 12u);
  ASSERT_TRUE(Pump({&server}, [] { return Joined(seen.serverData) == "hello server"; }));
  EXPECT_EQ(seen.serverFrom[0], *server.clients.Begin().Get());

  // A piece of the array: offset 6, size 6.
  KV_ARRAY<unsigned char> reply = Bytes("hello client");
  EXPECT_EQ(server.Send(reply, KV_HANDLE(), false, 6, 6), 6u);
  ASSERT_TRUE(Pump({&server, &client1}, [] { return Joined(seen.clientData) == "client"; }));
  EXPECT_TRUE(client1.Update());

  // The client leaves: the server reports it once and drops it.
  client1.Close();
  ASSERT_TRUE(Pump({&server}, [&] { return server.GetClientCount() == 0; }));
  EXPECT_EQ(seen.serverDisconnects, 1);
  EXPECT_TRUE(server.Update());
  EXPECT_EQ(seen.serverDisconnects, 1);
}

TEST_F(Sockets, ServerGoneIsReportedOnceToTheClient) {
  Join(client1);
  KV_ARRAY<unsigned char> last = Bytes("bye");
  server.Send(last, KV_HANDLE(), false, 0, 0);
  server.Close();
  EXPECT_EQ(server.GetState(), 0u);
  // The data sent before the close still arrives, then the loss is reported.
  ASSERT_TRUE(Pump({&client1}, [] { return seen.clientDisconnects == 1; }));
  EXPECT_EQ(Joined(seen.clientData), "bye");
  EXPECT_EQ(client1.GetState(), 0u);
  EXPECT_FALSE(client1.Update());
  EXPECT_EQ(seen.clientDisconnects, 1);
  KV_HANDLE h;
  EXPECT_TRUE(client1.GetHandle(&h)->IsNull());
}

TEST_F(Sockets, RefusedConnectionLeavesTheSocketClosed) {
  KV_SOCKET lonely;
  lonely.OnClientConnect = OnConnect;
  RefusingPort refusing;
  EXPECT_FALSE(lonely.Connect("127.0.0.1", refusing.Port(), 0));
  EXPECT_EQ(lonely.GetState(), 0u);
  EXPECT_TRUE(lonely.handle.IsNull());
  EXPECT_EQ(seen.connects, 0);
  EXPECT_FALSE(lonely.Update());
  EXPECT_FALSE(lonely.Connect(nullptr, port, 0));
  EXPECT_FALSE(lonely.Connect("127.0.0.1", port, 7));  // an open mode the engine does not know
  EXPECT_EQ(lonely.GetState(), 0u);
}

TEST_F(Sockets, ListenOnABusyPortFails) {
  KV_SOCKET second;
  EXPECT_FALSE(second.Listen(port, 4));
  EXPECT_EQ(second.GetState(), 0u);
  EXPECT_TRUE(second.handle.IsNull());
  EXPECT_TRUE(second.acceptHandle.IsNull());
}

TEST_F(Sockets, RefusedClientIsDroppedAndTheNextAcceptIsReady) {
  seen.refuseClients = true;
  ASSERT_TRUE(client1.Connect("127.0.0.1", port, 0));
  ASSERT_TRUE(Pump({&server}, [] { return seen.accepts == 1; }));
  EXPECT_EQ(server.GetClientCount(), 0u);
  EXPECT_FALSE(server.acceptHandle.IsNull());
  EXPECT_EQ(seen.serverDisconnects, 0);
  // The refused connection was destroyed, so the client sees it go.
  ASSERT_TRUE(Pump({&client1}, [] { return seen.clientDisconnects == 1; }));

  seen.refuseClients = false;
  Join(client2);
  EXPECT_EQ(server.GetClientCount(), 1u);
}

TEST_F(Sockets, ClientCanRefuseItsOwnConnection) {
  KV_SOCKET picky;
  picky.OnClientConnect = [](KV_SOCKET*) { return false; };
  EXPECT_FALSE(picky.Connect("127.0.0.1", port, 0));
  EXPECT_EQ(picky.GetState(), 0u);
  EXPECT_TRUE(picky.handle.IsNull());
}

TEST_F(Sockets, SendWithExceptSkipsExactlyTheTarget) {
  KV_ARRAY<unsigned char> nothing = Bytes("x");
  EXPECT_EQ(server.Send(nothing, KV_HANDLE(), false, 0, 0), 0u);  // no clients yet
  Join(client1);
  KV_HANDLE first = *server.clients.Begin().Get();
  Join(client2);

  KV_ARRAY<unsigned char> note = Bytes("note");
  EXPECT_EQ(server.Send(note, first, true, 0, 0), 4u);
  ASSERT_TRUE(Pump({&client2}, [] { return Joined(seen.clientData) == "note"; }));
  client1.Update();
  EXPECT_EQ(Joined(seen.clientData), "note");  // client1 got nothing

  // A client sending "to everyone but its own connection" sends nothing.
  KV_HANDLE own;
  client1.GetHandle(&own);
  EXPECT_EQ(client1.Send(note, own, true, 0, 0), 0u);
}

TEST_F(Sockets, DisconnectDropsOneClientWithoutCallbacks) {
  Join(client1);
  Join(client2);
  KV_HANDLE stranger;
  stranger.endFlag = 0;
  stranger.value = 0x7fffffff;
  EXPECT_FALSE(server.Disconnect(stranger));
  EXPECT_EQ(server.GetClientCount(), 2u);
  EXPECT_TRUE(server.Disconnect(*server.clients.Begin().Get()));
  EXPECT_EQ(server.GetClientCount(), 1u);
  EXPECT_EQ(seen.serverDisconnects, 0);

  server.Close();
  server.Close();
  EXPECT_EQ(server.GetState(), 0u);
  EXPECT_EQ(server.GetClientCount(), 0u);
  EXPECT_FALSE(server.Update());
}

TEST_F(Sockets, ServerWithoutCallbacksStillAcceptsDrainsAndDrops) {
  server.OnServerAccept = nullptr;
  server.OnServerReceive = nullptr;
  server.OnServerDisconnect = nullptr;
  Join(client1);
  KV_ARRAY<unsigned char> data = Bytes("ignored");
  client1.Send(data, KV_HANDLE(), false, 0, 0);
  client1.Close();
  ASSERT_TRUE(Pump({&server}, [&] { return server.GetClientCount() == 0; }));
  EXPECT_TRUE(seen.serverData.empty());
}

TEST_F(Sockets, ReceiveAndResetBufferWorkOutsideUpdate) {
  KV_SOCKET closed;
  KV_ARRAY<unsigned char> data;
  EXPECT_EQ(closed.Receive(data, KV_HANDLE()), 0u);

  Join(client1);
  KV_ARRAY<unsigned char> ping = Bytes("ping");
  server.Send(ping, KV_HANDLE(), false, 0, 0);
  unsigned int n = 0;
  for (int i = 0; i < 500 && n == 0; ++i) {
    n = client1.Receive(data, KV_HANDLE());
    if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(std::string((const char*)data.data, data.Size()), "ping");
  EXPECT_EQ(client1.ResetBuffer(data), 0u);
  EXPECT_TRUE(data.IsEmpty());
}

}  // namespace
