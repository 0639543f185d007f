// The desktop's file chooser through the XDG desktop portal, spoken to with gio's GDBus on
// a private connection to the session bus.
#include "platform/vcl/PortalFileChooser.h"

#include <gio/gio.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>

#include "platform/vcl/Forms.h"
#include "platform/win/Backend.h"

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kFileChooser = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
// The longest sleep on the bus between two looks at our own queue (input and timers of
// our windows keep flowing while the chooser is up).
constexpr guint kSliceMs = 20;
// Connecting to the bus may take this long before the layer's own dialog is shown instead.
constexpr gint64 kConnectTimeoutUs = 5 * G_USEC_PER_SEC;

// GVariant strings must be UTF-8; text that is not gets replacement characters.
std::string ValidUtf8(const std::string& s) {
  if (g_utf8_validate(s.data(), gssize(s.size()), nullptr)) return s;
  gchar* fixed = g_utf8_make_valid(s.data(), gssize(s.size()));
  std::string out(fixed);
  g_free(fixed);
  return out;
}

std::string TrimSpaces(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// A filter as the portal names it: (description, [(0: glob, pattern)…]).
GVariant* FilterVariant(const TFilterItem& Filter) {
  GVariantBuilder patterns;
  g_variant_builder_init(&patterns, G_VARIANT_TYPE("a(us)"));
  for (const std::string& p : PortalFilterPatterns(Filter.Mask))
    g_variant_builder_add(&patterns, "(us)", guint32(0), ValidUtf8(p).c_str());
  return g_variant_new("(s@a(us))", ValidUtf8(Filter.Description).c_str(), g_variant_builder_end(&patterns));
}

// The 1-based index of the filter the chooser reports as chosen; 0 when it is none of ours.
int FilterIndexOf(GVariant* Chosen, const std::vector<TFilterItem>& Filters) {
  if (!Chosen || !g_variant_is_of_type(Chosen, G_VARIANT_TYPE("(sa(us))"))) return 0;
  for (size_t i = 0; i < Filters.size(); ++i) {
    GVariant* ours = g_variant_ref_sink(FilterVariant(Filters[i]));
    bool same = g_variant_equal(ours, Chosen);
    g_variant_unref(ours);
    if (same) return int(i) + 1;
  }
  return 0;
}

// The forms of the program are disabled while the desktop's chooser is up, as under a
// modal window of our own, and enabled again afterwards.
class TFormsDisabled {
public:
  TFormsDisabled() {
    FActive = GetActiveWindow();
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f->HandleAllocated() && IsWindowVisible(f->Handle()) && IsWindowEnabled(f->Handle())) {
        EnableWindow(f->Handle(), FALSE);
        FDisabled.push_back(f->Handle());
      }
    }
  }
  ~TFormsDisabled() {
    for (HWND h : FDisabled)
      if (IsWindow(h)) EnableWindow(h, TRUE);
    if (FActive && IsWindow(FActive)) SetActiveWindow(FActive);
  }
  TFormsDisabled(const TFormsDisabled&) = delete;
  TFormsDisabled& operator=(const TFormsDisabled&) = delete;

private:
  HWND FActive = nullptr;
  std::vector<HWND> FDisabled;
};

// One question to the portal. Everything GDBus calls back runs in this object's own main
// context, which only the object iterates.
class TPortalSession {
public:
  TPortalSession() : FContext(g_main_context_new()), FCancel(g_cancellable_new()) {
    g_main_context_push_thread_default(FContext);
  }
  ~TPortalSession();
  TPortalSession(const TPortalSession&) = delete;
  TPortalSession& operator=(const TPortalSession&) = delete;

  TPortalOutcome Ask(const std::string& Address, const TFileDialogRequest& Request, const std::string& ParentWindow,
                     TFileDialogAnswer& Answer);

private:
  // Runs our message queue and the bus together until Done() holds, the application ends
  // (false) or the deadline (monotonic µs, 0: none) passes (false).
  bool Pump(const std::function<bool()>& Done, gint64 Deadline = 0);
  void Subscribe(const std::string& Path);
  GVariant* Options(const TFileDialogRequest& Request, const std::string& Token) const;

  static void Connected(GObject* Source, GAsyncResult* Result, gpointer Self);
  static void Called(GObject* Source, GAsyncResult* Result, gpointer Self);
  static void ResponseSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                             GVariant* Parameters, gpointer Self);
  static void ClosedSignal(GDBusConnection*, gboolean, GError*, gpointer Self);
  static void PortalVanished(GDBusConnection*, const gchar*, gpointer Self);

  GMainContext* FContext;
  GCancellable* FCancel;
  GDBusConnection* FConnection = nullptr;
  int FPending = 0;  // asynchronous operations whose callback has not run yet
  bool FConnectDone = false;
  bool FCallDone = false;
  GVariant* FReply = nullptr;
  bool FClosed = false;     // the connection to the bus closed
  bool FVanished = false;   // the portal left the bus
  bool FResponded = false;
  guint32 FResponse = 2;
  GVariant* FResults = nullptr;
  std::vector<guint> FSubscriptions;
  std::vector<std::string> FSubscribedPaths;
  gulong FClosedHandler = 0;
  guint FWatch = 0;
};

TPortalSession::~TPortalSession() {
  if (FConnection) {
    for (guint id : FSubscriptions) g_dbus_connection_signal_unsubscribe(FConnection, id);
    if (FWatch) g_bus_unwatch_name(FWatch);
    if (FClosedHandler) g_signal_handler_disconnect(FConnection, FClosedHandler);
  }
  g_cancellable_cancel(FCancel);
  if (FConnection) g_dbus_connection_close_sync(FConnection, nullptr, nullptr);
  // Cancelled operations report back through the context; wait (briefly) for them so that
  // no callback is left holding this object.
  gint64 deadline = g_get_monotonic_time() + G_USEC_PER_SEC;
  while (FPending > 0 && g_get_monotonic_time() < deadline) g_main_context_iteration(FContext, FALSE);
  while (g_main_context_iteration(FContext, FALSE)) {
  }
  g_main_context_pop_thread_default(FContext);
  if (FReply) g_variant_unref(FReply);
  if (FResults) g_variant_unref(FResults);
  if (FConnection) g_object_unref(FConnection);
  g_object_unref(FCancel);
  // An operation that never reported back (a connection attempt stuck in the system)
  // keeps its context: the context is left to it rather than freed under it.
  if (FPending == 0) g_main_context_unref(FContext);
}

bool TPortalSession::Pump(const std::function<bool()>& Done, gint64 Deadline) {
  for (;;) {
    if (Application) {
      Application->ProcessMessages();
      if (Application->Terminated()) return false;
    } else {
      ProcessPendingMessages();
    }
    while (g_main_context_iteration(FContext, FALSE)) {
    }
    if (Done()) return true;
    if (Deadline && g_get_monotonic_time() >= Deadline) return false;
    // Sleep on the bus's socket until it has something or the slice ends.
    GSource* slice = g_timeout_source_new(kSliceMs);
    g_source_set_callback(slice, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
    g_source_attach(slice, FContext);
    g_main_context_iteration(FContext, TRUE);
    g_source_destroy(slice);
    g_source_unref(slice);
  }
}

void TPortalSession::Connected(GObject*, GAsyncResult* Result, gpointer Self) {
  auto* s = static_cast<TPortalSession*>(Self);
  --s->FPending;
  s->FConnectDone = true;
  s->FConnection = g_dbus_connection_new_for_address_finish(Result, nullptr);
}

void TPortalSession::Called(GObject* Source, GAsyncResult* Result, gpointer Self) {
  auto* s = static_cast<TPortalSession*>(Self);
  --s->FPending;
  s->FCallDone = true;
  s->FReply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(Source), Result, nullptr);
}

void TPortalSession::ResponseSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                                    GVariant* Parameters, gpointer Self) {
  auto* s = static_cast<TPortalSession*>(Self);
  if (s->FResponded) return;
  s->FResponded = true;
  // A response of another shape is taken as the request ending without an answer.
  if (!g_variant_is_of_type(Parameters, G_VARIANT_TYPE("(ua{sv})"))) return;
  g_variant_get(Parameters, "(u@a{sv})", &s->FResponse, &s->FResults);
}

void TPortalSession::ClosedSignal(GDBusConnection*, gboolean, GError*, gpointer Self) {
  static_cast<TPortalSession*>(Self)->FClosed = true;
}

void TPortalSession::PortalVanished(GDBusConnection*, const gchar*, gpointer Self) {
  static_cast<TPortalSession*>(Self)->FVanished = true;
}

void TPortalSession::Subscribe(const std::string& Path) {
  for (const std::string& p : FSubscribedPaths)
    if (p == Path) return;
  FSubscribedPaths.push_back(Path);
  FSubscriptions.push_back(g_dbus_connection_signal_subscribe(FConnection, kPortalName, kRequest, "Response",
                                                              Path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                                              ResponseSignal, this, nullptr));
}

GVariant* TPortalSession::Options(const TFileDialogRequest& Request, const std::string& Token) const {
  GVariantBuilder b;
  g_variant_builder_init(&b, G_VARIANT_TYPE("a{sv}"));
  g_variant_builder_add(&b, "{sv}", "handle_token", g_variant_new_string(Token.c_str()));
  g_variant_builder_add(&b, "{sv}", "modal", g_variant_new_boolean(TRUE));
  if (!Request.Save)
    g_variant_builder_add(&b, "{sv}", "multiple",
                          g_variant_new_boolean(Request.Options.Contains(ofAllowMultiSelect)));
  std::vector<TFilterItem> filters = ParseFilter(Request.Filter);
  if (!filters.empty()) {
    GVariantBuilder list;
    g_variant_builder_init(&list, G_VARIANT_TYPE("a(sa(us))"));
    for (const TFilterItem& f : filters) g_variant_builder_add_value(&list, FilterVariant(f));
    g_variant_builder_add(&b, "{sv}", "filters", g_variant_builder_end(&list));
    size_t chosen = size_t(std::max(1, std::min(Request.FilterIndex, int(filters.size()))) - 1);
    g_variant_builder_add(&b, "{sv}", "current_filter", FilterVariant(filters[chosen]));
  }
  // The folder as the file system names it: bytes ending with a nul.
  if (!Request.InitialDir.empty() && Request.InitialDir.find('\0') == std::string::npos)
    g_variant_builder_add(&b, "{sv}", "current_folder", g_variant_new_bytestring(Request.InitialDir.c_str()));
  if (Request.Save && !Request.FileName.empty())
    g_variant_builder_add(&b, "{sv}", "current_name", g_variant_new_string(ValidUtf8(Request.FileName).c_str()));
  return g_variant_builder_end(&b);
}

TPortalOutcome TPortalSession::Ask(const std::string& Address, const TFileDialogRequest& Request,
                                   const std::string& ParentWindow, TFileDialogAnswer& Answer) {
  // A private connection: it is closed when the question is answered, and nothing of it is
  // shared with other users of the bus in the process.
  ++FPending;
  g_dbus_connection_new_for_address(
      Address.c_str(),
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, FCancel, Connected, this);
  bool connected = Pump([this] { return FConnectDone; }, g_get_monotonic_time() + kConnectTimeoutUs);
  if (!connected && Application && Application->Terminated()) return TPortalOutcome::Cancelled;
  if (!FConnection) return TPortalOutcome::Unavailable;
  g_dbus_connection_set_exit_on_close(FConnection, FALSE);
  FClosedHandler = g_signal_connect(FConnection, "closed", G_CALLBACK(ClosedSignal), this);

  // The request object's path is known before the call (our unique name and a token of
  // ours), so its Response cannot come before we listen for it.
  static unsigned counter = 0;
  std::string token = "lorm" + std::to_string(++counter) + "_" + std::to_string(std::random_device{}() & 0xFFFFFF);
  std::string sender = g_dbus_connection_get_unique_name(FConnection) ? g_dbus_connection_get_unique_name(FConnection) : "";
  if (!sender.empty() && sender[0] == ':') sender.erase(0, 1);
  for (char& c : sender)
    if (c == '.') c = '_';
  std::string request = std::string(kPortalPath) + "/request/" + sender + "/" + token;
  Subscribe(request);

  GVariant* args = g_variant_new("(ss@a{sv})", ValidUtf8(ParentWindow).c_str(), ValidUtf8(Request.Title).c_str(),
                                 Options(Request, token));
  ++FPending;
  g_dbus_connection_call(FConnection, kPortalName, kPortalPath, kFileChooser, Request.Save ? "SaveFile" : "OpenFile",
                         args, G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, -1, FCancel, Called, this);
  // The application ends while the chooser is up: the chooser is closed with the request.
  auto closeRequest = [this](const std::string& Path) {
    if (FClosed) return TPortalOutcome::Cancelled;
    g_dbus_connection_call(FConnection, kPortalName, Path.c_str(), kRequest, "Close", nullptr, nullptr,
                           G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
    g_dbus_connection_flush_sync(FConnection, nullptr, nullptr);
    return TPortalOutcome::Cancelled;
  };
  if (!Pump([this] { return FCallDone; })) return closeRequest(request);
  // No owner of the portal's name, no such method, an error of the portal: nothing was
  // shown, so the layer's own dialog stands in.
  if (!FReply) return TPortalOutcome::Unavailable;
  const gchar* handle = nullptr;
  g_variant_get(FReply, "(&o)", &handle);
  Subscribe(handle);
  FWatch = g_bus_watch_name_on_connection(FConnection, kPortalName, G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
                                          PortalVanished, this, nullptr);
  if (!Pump([this] { return FResponded || FClosed || FVanished; })) return closeRequest(handle);
  if (!FResponded || FResponse != 0 || !FResults) return TPortalOutcome::Cancelled;

  // Every URI must name a local file; an answer with one that does not is refused whole.
  GVariant* uris = g_variant_lookup_value(FResults, "uris", G_VARIANT_TYPE("as"));
  if (!uris) return TPortalOutcome::Cancelled;
  std::vector<std::string> files;
  bool usable = true;
  gsize count = g_variant_n_children(uris);
  for (gsize i = 0; i < count && usable; ++i) {
    const gchar* uri = nullptr;
    g_variant_get_child(uris, i, "&s", &uri);
    std::optional<std::string> path = PathFromFileUri(uri);
    if (path) files.push_back(*path);
    else usable = false;
  }
  g_variant_unref(uris);
  if (!usable || files.empty()) return TPortalOutcome::Cancelled;
  Answer.Files = std::move(files);
  GVariant* chosen = g_variant_lookup_value(FResults, "current_filter", G_VARIANT_TYPE("(sa(us))"));
  Answer.FilterIndex = FilterIndexOf(chosen, ParseFilter(Request.Filter));
  if (chosen) g_variant_unref(chosen);
  return TPortalOutcome::Chosen;
}

}  // namespace

std::vector<std::string> PortalFilterPatterns(const std::string& Mask) {
  std::vector<std::string> patterns;
  size_t start = 0;
  for (;;) {
    size_t semi = Mask.find(';', start);
    std::string p = TrimSpaces(Mask.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (p == "*.*") p = "*";
    if (!p.empty()) patterns.push_back(p);
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return patterns;
}

std::optional<std::string> PathFromFileUri(const std::string& Uri) {
  if (Uri.find('\0') != std::string::npos) return std::nullopt;
  gchar* host = nullptr;
  gchar* path = g_filename_from_uri(Uri.c_str(), &host, nullptr);
  std::optional<std::string> result;
  if (path && path[0] == '/' && (!host || g_ascii_strcasecmp(host, "localhost") == 0)) result = std::string(path);
  g_free(path);
  g_free(host);
  return result;
}

TPortalOutcome AskPortalFileChooser(const TFileDialogRequest& Request, const std::string& ParentWindow,
                                    TFileDialogAnswer& Answer) {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!address || !*address) return TPortalOutcome::Unavailable;
  if (Application && Application->Terminated()) return TPortalOutcome::Cancelled;
  TFormsDisabled modal;
  TPortalSession session;
  return session.Ask(address, Request, ParentWindow, Answer);
}

TPortalOutcome AskDesktopFileChooser(const TFileDialogRequest& Request, TFileDialogAnswer& Answer) {
  TBackend& backend = CurrentBackend();
  if (!backend.OffersDesktopFileChooser()) return TPortalOutcome::Unavailable;
  HWND parent = nullptr;
  if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) parent = Screen->ActiveForm()->Handle();
  else if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
    parent = Application->MainForm()->Handle();
  return AskPortalFileChooser(Request, parent ? backend.DesktopWindowId(parent) : std::string(), Answer);
}
