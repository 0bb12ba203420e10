// KV_SOCKET's server and client roles: listening, connecting, the per-frame update, sending and
// closing. The HTTP requests are in http_request.cpp and http_keep_alive.cpp.
#include "net/socket.h"

namespace {

// A handle naming no object, as the framework builds them.
KV_HANDLE NullHandle() { return KV_HANDLE(); }

}  // namespace

// ---- the socket layer ---------------------------------------------------------------------------

bool KV_SOCKET::Initiation() { return KvSocketInitiation() != 0; }

bool KV_SOCKET::Closure() { return KvSocketClosure() != 0; }

// ---- roles --------------------------------------------------------------------------------------

bool KV_SOCKET::Listen(unsigned short port, unsigned int backlog) {
  Close();
  KvSocketCreate(&handle);
  if (handle.IsNull()) return false;
  if (KvSocketOpen(handle, KV_SOCKET_TCP_IPV4) == 1 && KvSocketListen(handle, port, backlog) == 1) {
    state = STATE_SERVER;
    KvSocketCreate(&acceptHandle);
    KvSocketAsync(handle, 1);
    return true;
  }
  KvSocketDestroy(handle);
  handle = NullHandle();
  return false;
}

bool KV_SOCKET::Connect(const char* host, unsigned short port, unsigned char mode) {
  Close();
  KvSocketCreate(&handle);
  if (handle.IsNull()) return false;
  if (KvSocketOpen(handle, mode) == 1 && KvSocketConnect(handle, host, port) == 1) {
    state = STATE_CLIENT;
    KvSocketNagle(handle, 1);
    // The connection waits in receive while the callback runs, so it can talk synchronously.
    KvSocketAsync(handle, 0);
    if (OnClientConnect != nullptr && !OnClientConnect(this)) {
      Close();
      return false;
    }
    KvSocketAsync(handle, 1);
    return true;
  }
  KvSocketDestroy(handle);
  handle = NullHandle();
  return false;
}

// ---- the per-frame step -------------------------------------------------------------------------

void KV_SOCKET::Drain(KV_HANDLE from, KV_SOCKET_CLIENT* client) {
  KV_ARRAY<unsigned char> block;
  while (KvSocketReceive(from, &block, 0, 0) != 0) {
    if (!block.IsEmpty()) {
      if (client != nullptr && OnServerReceive != nullptr)
        OnServerReceive(this, client, &block);
      else if (client == nullptr && OnClientReceive != nullptr)
        OnClientReceive(this, &block);
    }
    KvSocketReceive(NullHandle(), &block, 0, 0);
  }
}

bool KV_SOCKET::UpdateServer() {
  if (handle.IsNull() || acceptHandle.IsNull()) return false;

  // Accept at most one client per frame, into the socket made ready for it.
  if (KvSocketAccept(acceptHandle, handle) == 1) {
    KvSocketNagle(acceptHandle, 1);
    KvSocketAsync(acceptHandle, 0);
    KV_LIST_ITERATOR<KV_SOCKET_CLIENT> added = clients.PushBack(acceptHandle);
    if (OnServerAccept != nullptr && !OnServerAccept(this, added.Get())) {
      KvSocketDestroy(acceptHandle);
      acceptHandle = NullHandle();
      clients.Erase(added);
    } else {
      KvSocketAsync(*added.Get(), 1);
    }
    KvSocketCreate(&acceptHandle);
  }

  for (KV_LIST_ITERATOR<KV_SOCKET_CLIENT> it = clients.Begin(); !it.IsEnd(); it.Next())
    Drain(*it.Get(), it.Get());

  KV_LIST_ITERATOR<KV_SOCKET_CLIENT> it = clients.Begin();
  while (!it.IsEnd()) {
    KV_LIST_ITERATOR<KV_SOCKET_CLIENT> current = it;
    it.Next();
    if (KvSocketIsConnected(*current.Get()) != 0) continue;
    if (OnServerDisconnect != nullptr) OnServerDisconnect(this, current.Get());
    KvSocketDestroy(*current.Get());
    *current.Get() = NullHandle();
    clients.Erase(current);
  }
  return true;
}

bool KV_SOCKET::UpdateClient() {
  if (handle.IsNull()) return false;
  Drain(handle, nullptr);
  if (KvSocketIsConnected(handle) == 0) {
    if (OnClientDisconnect != nullptr) OnClientDisconnect(this);
    Close();
    return false;
  }
  return true;
}

bool KV_SOCKET::Update() {
  switch (state) {
    case STATE_SERVER: return UpdateServer();
    case STATE_CLIENT: return UpdateClient();
    default: return false;
  }
}

// ---- data ---------------------------------------------------------------------------------------

unsigned int KV_SOCKET::SendToClients(KV_ARRAY<unsigned char>& data, const KV_HANDLE* except,
                                      unsigned int offset, unsigned int size) {
  unsigned int largest = 0;
  for (KV_LIST_ITERATOR<KV_SOCKET_CLIENT> it = clients.Begin(); !it.IsEnd(); it.Next()) {
    if (except != nullptr && *it.Get() == *except) continue;
    unsigned int sent = KvSocketSend(*it.Get(), &data, KV_SEND_ALL, offset, size);
    if (sent > largest) largest = sent;
  }
  return largest;
}

unsigned int KV_SOCKET::Send(KV_ARRAY<unsigned char>& data, KV_HANDLE target, bool except,
                             unsigned int offset, unsigned int size) {
  if (state == STATE_CLOSED) return 0;
  if (target.IsNull()) {
    if (state == STATE_SERVER) return SendToClients(data, nullptr, offset, size);
    if (state == STATE_CLIENT) return KvSocketSend(handle, &data, KV_SEND_ALL, offset, size);
    return 0;
  }
  if (!except) return KvSocketSend(target, &data, KV_SEND_ALL, offset, size);
  if (state == STATE_SERVER) return SendToClients(data, &target, offset, size);
  if (state == STATE_CLIENT)
    return handle == target ? 0 : KvSocketSend(handle, &data, KV_SEND_ALL, offset, size);
  return 0;
}

unsigned int KV_SOCKET::Receive(KV_ARRAY<unsigned char>& data, KV_HANDLE from) {
  if (state == STATE_CLOSED) return 0;
  return KvSocketReceive(from.IsNull() ? handle : from, &data, 0, 0);
}

unsigned int KV_SOCKET::ResetBuffer(KV_ARRAY<unsigned char>& data) {
  return KvSocketReceive(NullHandle(), &data, 0, 0);
}

bool KV_SOCKET::Disconnect(KV_HANDLE client) {
  for (KV_LIST_ITERATOR<KV_SOCKET_CLIENT> it = clients.Begin(); !it.IsEnd(); it.Next()) {
    if (*it.Get() == client) {
      KvSocketDestroy(*it.Get());
      clients.Erase(it);
      return true;
    }
  }
  return false;
}

void KV_SOCKET::Close() {
  KvSocketDestroy(handle);
  handle = NullHandle();
  for (KV_LIST_ITERATOR<KV_SOCKET_CLIENT> it = clients.Begin(); !it.IsEnd(); it.Next())
    KvSocketDestroy(*it.Get());
  clients.Clear();
  KvSocketDestroy(acceptHandle);
  acceptHandle = NullHandle();
  state = STATE_CLOSED;
  responseHead.Clear();
  headRequest = false;
}

KV_HANDLE* KV_SOCKET::GetHandle(KV_HANDLE* out) const {
  if (out != nullptr) *out = handle;
  return out;
}
