#pragma once
// Test support for the desktop file chooser: a private session bus (the real dbus-daemon,
// started with a configuration of its own: no activatable services) and a stub of the
// XDG desktop portal's FileChooser on it, served from a thread of the test process on its
// own connection. The stub records every call and answers through the request object's
// Response signal as the test says.
#include <fcntl.h>
#include <gio/gio.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

// A dbus-daemon of the test's own, listening on a socket in a temporary folder.
class TPrivateBus {
public:
  TPrivateBus() {
    FDir = std::filesystem::temp_directory_path() / ("lorm_bus_" + std::to_string(::getpid()) + "_" +
                                                      std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(FDir);
    std::string config = (FDir / "bus.conf").string();
    std::ofstream(config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                             "<busconfig>\n  <type>session</type>\n"
                             "  <listen>unix:path="
                          << (FDir / "bus").string()
                          << "</listen>\n  <auth>EXTERNAL</auth>\n"
                             "  <policy context=\"default\">\n"
                             "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                             "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n"
                             "  </policy>\n</busconfig>\n";
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Its notes (it cannot raise its file limit as an unprivileged user…) are not the test's.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string configArg = "--config-file=" + config;
    const char* argv[] = {"dbus-daemon", configArg.c_str(), "--nofork", "--print-address", nullptr};
    if (posix_spawnp(&FPid, "dbus-daemon", &actions, nullptr, const_cast<char**>(argv), environ) != 0) FPid = 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // The daemon prints its address once it listens.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (FPid && line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0) {
      char buf[256];
      ssize_t n = ::read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      line.append(buf, size_t(n));
    }
    ::close(out[0]);
    if (size_t nl = line.find('\n'); nl != std::string::npos) FAddress = line.substr(0, nl);
  }
  ~TPrivateBus() {
    Stop();
    std::error_code ec;
    std::filesystem::remove_all(FDir, ec);
  }
  TPrivateBus(const TPrivateBus&) = delete;
  TPrivateBus& operator=(const TPrivateBus&) = delete;

  bool Running() const { return FPid > 0 && !FAddress.empty(); }
  const std::string& Address() const { return FAddress; }
  // The bus goes away (every connection to it closes).
  void Stop() {
    if (FPid > 0) {
      ::kill(FPid, SIGTERM);
      int status = 0;
      ::waitpid(FPid, &status, 0);
      FPid = 0;
    }
  }

private:
  std::filesystem::path FDir;
  pid_t FPid = 0;
  std::string FAddress;
};

// Sets an environment variable for a scope (unset when value is null) and restores it.
class TEnvScope {
public:
  TEnvScope(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old, FHad = true;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~TEnvScope() {
    if (FHad) ::setenv(FName.c_str(), FOld.c_str(), 1);
    else ::unsetenv(FName.c_str());
  }
  TEnvScope(const TEnvScope&) = delete;
  TEnvScope& operator=(const TEnvScope&) = delete;

private:
  std::string FName, FOld;
  bool FHad = false;
};

// The portal's FileChooser, served on its own thread and connection.
class TStubPortal {
public:
  struct TCall {
    std::string Method, Parent, Title;
    GVariant* Options = nullptr;  // a{sv}, owned by the stub
  };
  // How the next call is answered: Response (-1: no Response at all) with Results (GVariant
  // text of an a{sv}), After DelayMs; Then runs on the stub's thread after answering.
  struct TAnswer {
    int Response = 0;
    std::string Results = "@a{sv} {}";
    unsigned DelayMs = 0;
    std::function<void()> Then;
  };

  // Methods: the FileChooser methods the stub offers (others are unknown methods).
  explicit TStubPortal(const std::string& Address, std::vector<std::string> Methods = {"OpenFile", "SaveFile"})
      : FMethods(std::move(Methods)) {
    std::promise<bool> ready;
    auto started = ready.get_future();
    FThread = std::thread([this, Address, &ready] { Run(Address, ready); });
    FReady = started.get();
  }
  ~TStubPortal() {
    // Quits from inside the loop, so a loop not yet running cannot miss it.
    GSource* quit = g_idle_source_new();
    g_source_set_callback(
        quit, [](gpointer loop) -> gboolean { g_main_loop_quit(static_cast<GMainLoop*>(loop)); return G_SOURCE_REMOVE; },
        FLoop, nullptr);
    g_source_attach(quit, FContext);
    g_source_unref(quit);
    if (FThread.joinable()) FThread.join();
    g_main_loop_unref(FLoop);
    g_main_context_unref(FContext);
    for (TCall& c : FCalls)
      if (c.Options) g_variant_unref(c.Options);
  }
  TStubPortal(const TStubPortal&) = delete;
  TStubPortal& operator=(const TStubPortal&) = delete;

  bool Ready() const { return FReady; }
  void Answer(TAnswer A) {
    std::lock_guard<std::mutex> lock(FMutex);
    FAnswers.push_back(std::move(A));
  }
  void AnswerUris(const std::string& UrisText) {
    Answer(TAnswer{0, "{'uris': <" + UrisText + ">}", 0, nullptr});
  }
  size_t CallCount() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FCalls.size();
  }
  TCall Call(size_t i) {
    std::lock_guard<std::mutex> lock(FMutex);
    return FCalls.at(i);
  }
  // The portal leaves the bus (its connection closes).
  void Leave() {
    if (FConnection) g_dbus_connection_close_sync(FConnection, nullptr, nullptr);
  }

  // An option of a call as GVariant text ("" when absent).
  static std::string Option(const TCall& C, const char* Name) {
    GVariant* v = C.Options ? g_variant_lookup_value(C.Options, Name, nullptr) : nullptr;
    if (!v) return std::string();
    gchar* text = g_variant_print(v, FALSE);
    std::string s(text);
    g_free(text);
    g_variant_unref(v);
    return s;
  }
  // A byte-string option (current_folder) without its closing nul.
  static std::string BytesOption(const TCall& C, const char* Name) {
    GVariant* v = C.Options ? g_variant_lookup_value(C.Options, Name, G_VARIANT_TYPE("ay")) : nullptr;
    if (!v) return std::string("<absent>");
    gsize n = 0;
    const char* data = static_cast<const char*>(g_variant_get_fixed_array(v, &n, 1));
    std::string s(data, n);
    g_variant_unref(v);
    if (!s.empty() && s.back() == '\0') s.pop_back();
    else s += "<no nul>";
    return s;
  }

private:
  void Run(const std::string& Address, std::promise<bool>& Ready) {
    GMainContext* context = FContext;
    g_main_context_push_thread_default(context);
    FConnection = g_dbus_connection_new_for_address_sync(
        Address.c_str(),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    guint registration = 0;
    bool ok = false;
    if (FConnection) {
      std::string xml = "<node><interface name='org.freedesktop.portal.FileChooser'>";
      for (const std::string& m : FMethods)
        xml += "<method name='" + m +
               "'><arg type='s' direction='in'/><arg type='s' direction='in'/><arg type='a{sv}' direction='in'/>"
               "<arg type='o' direction='out'/></method>";
      xml += "</interface></node>";
      GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(xml.c_str(), nullptr);
      static const GDBusInterfaceVTable vtable = {&TStubPortal::MethodCall, nullptr, nullptr, {}};
      registration = g_dbus_connection_register_object(FConnection, "/org/freedesktop/portal/desktop",
                                                       info->interfaces[0], &vtable, this, nullptr, nullptr);
      g_dbus_node_info_unref(info);
      GVariant* r = g_dbus_connection_call_sync(FConnection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus", "RequestName",
                                                g_variant_new("(su)", "org.freedesktop.portal.Desktop", 4u),
                                                G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
      if (r) {
        guint32 code = 0;
        g_variant_get(r, "(u)", &code);
        ok = code == 1;
        g_variant_unref(r);
      }
    }
    Ready.set_value(ok);
    if (ok) g_main_loop_run(FLoop);
    if (registration) g_dbus_connection_unregister_object(FConnection, registration);
    for (guint id : FRequests) g_dbus_connection_unregister_object(FConnection, id);
    if (FConnection) {
      g_dbus_connection_close_sync(FConnection, nullptr, nullptr);
      g_object_unref(FConnection);
    }
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_pop_thread_default(context);
  }

  struct TPending {
    TStubPortal* Self;
    std::string Sender, Path;
    TAnswer Answer;
  };

  static void MethodCall(GDBusConnection*, const gchar* Sender, const gchar*, const gchar*, const gchar* Method,
                         GVariant* Parameters, GDBusMethodInvocation* Invocation, gpointer User) {
    auto* self = static_cast<TStubPortal*>(User);
    TCall call;
    call.Method = Method;
    const gchar *parent = nullptr, *title = nullptr;
    g_variant_get(Parameters, "(&s&s@a{sv})", &parent, &title, &call.Options);
    call.Parent = parent;
    call.Title = title;
    const gchar* token = "t";
    g_variant_lookup(call.Options, "handle_token", "&s", &token);
    std::string sender = Sender + 1;
    for (char& c : sender)
      if (c == '.') c = '_';
    auto* pending = new TPending{self, Sender, "/org/freedesktop/portal/desktop/request/" + sender + "/" + token, {}};
    {
      std::lock_guard<std::mutex> lock(self->FMutex);
      self->FCalls.push_back(call);
      if (!self->FAnswers.empty()) {
        pending->Answer = std::move(self->FAnswers.front());
        self->FAnswers.erase(self->FAnswers.begin());
      } else {
        pending->Answer.Response = 1;
      }
    }
    // The request object: its Close is recorded as a call named "Close".
    GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(
        "<node><interface name='org.freedesktop.portal.Request'><method name='Close'/></interface></node>", nullptr);
    static const GDBusInterfaceVTable requestTable = {&TStubPortal::RequestCall, nullptr, nullptr, {}};
    guint id = g_dbus_connection_register_object(self->FConnection, pending->Path.c_str(), info->interfaces[0],
                                                 &requestTable, self, nullptr, nullptr);
    g_dbus_node_info_unref(info);
    if (id) self->FRequests.push_back(id);
    g_dbus_method_invocation_return_value(Invocation, g_variant_new("(o)", pending->Path.c_str()));
    GSource* later = g_timeout_source_new(pending->Answer.DelayMs);
    g_source_set_callback(later, &TStubPortal::Respond, pending, nullptr);
    g_source_attach(later, g_main_context_get_thread_default());
    g_source_unref(later);
  }

  static void RequestCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* Method, GVariant*,
                          GDBusMethodInvocation* Invocation, gpointer User) {
    auto* self = static_cast<TStubPortal*>(User);
    {
      std::lock_guard<std::mutex> lock(self->FMutex);
      TCall call;
      call.Method = Method;
      self->FCalls.push_back(call);
    }
    g_dbus_method_invocation_return_value(Invocation, nullptr);
  }

  static gboolean Respond(gpointer P) {
    auto* pending = static_cast<TPending*>(P);
    TStubPortal* self = pending->Self;
    if (pending->Answer.Response >= 0) {
      GVariant* results = g_variant_parse(G_VARIANT_TYPE("a{sv}"), pending->Answer.Results.c_str(), nullptr, nullptr, nullptr);
      if (!results) results = g_variant_new("a{sv}", nullptr);
      g_dbus_connection_emit_signal(self->FConnection, pending->Sender.c_str(), pending->Path.c_str(),
                                    "org.freedesktop.portal.Request", "Response",
                                    g_variant_new("(u@a{sv})", guint32(pending->Answer.Response), results), nullptr);
      g_dbus_connection_flush_sync(self->FConnection, nullptr, nullptr);
    }
    if (pending->Answer.Then) pending->Answer.Then();
    delete pending;
    return G_SOURCE_REMOVE;
  }

  std::vector<std::string> FMethods;
  std::thread FThread;
  bool FReady = false;
  GMainContext* FContext = g_main_context_new();
  GMainLoop* FLoop = g_main_loop_new(FContext, FALSE);
  GDBusConnection* FConnection = nullptr;
  std::mutex FMutex;
  std::vector<TCall> FCalls;
  std::vector<TAnswer> FAnswers;
  std::vector<guint> FRequests;  // registered request objects (the stub's thread only)
};
