#include "platform/image/Resources.h"

#include "platform/image/ResourceIndex.h"
#include "platform/rtl/Exceptions.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

bool AllDigits(const std::string& s, std::size_t from) {
  if (s.size() <= from || s.size() - from > 9) return false;
  for (std::size_t i = from; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

std::string TypeKeyForFolder(const std::string& folder) {
  const std::string f = Lower(folder);
  if (f == "bitmaps" || f == "bitmap") return TResourceId(RT_BITMAP).Key();
  if (f == "icons" || f == "icon") return TResourceId(RT_GROUP_ICON).Key();
  if (f == "cursors" || f == "cursor") return TResourceId(RT_GROUP_CURSOR).Key();
  if (f == "rcdata") return TResourceId(RT_RCDATA).Key();
  if (f == "html") return TResourceId(RT_HTML).Key();
  return TResourceId(folder).Key();
}

// Icons and cursors are stored whole, so the single-image types find the same entries.
std::string CanonicalType(const std::string& key) {
  if (key == TResourceId(RT_ICON).Key()) return TResourceId(RT_GROUP_ICON).Key();
  if (key == TResourceId(RT_CURSOR).Key()) return TResourceId(RT_GROUP_CURSOR).Key();
  return key;
}

struct TStore {
  std::mutex Lock;
  std::map<std::pair<std::string, std::string>, TBytesView> Embedded;
  std::map<std::pair<std::string, std::string>, std::unique_ptr<TByteBuffer>> Added;

  TStore() {
    for (unsigned i = 0; i < LormEmbeddedResourceCount; ++i) {
      const TEmbeddedResourceEntry& e = LormEmbeddedResources[i];
      std::string path = e.Path;
      std::size_t slash = path.find('/');
      if (slash == std::string::npos) continue;  // files directly under resources/ have no type
      std::string file = path.substr(path.rfind('/') + 1);
      std::size_t dot = file.rfind('.');
      if (dot != std::string::npos && dot > 0) file.erase(dot);
      Embedded[{TypeKeyForFolder(path.substr(0, slash)), TResourceId(file).Key()}] = TBytesView(e.Data, *e.Size);
    }
  }
};

TStore& Store() {
  static TStore store;
  return store;
}

}  // namespace

TResourceId::TResourceId(int id) : FKey("#" + std::to_string(id)), FNumeric(true) {}

TResourceId::TResourceId(const char* name) : TResourceId(std::string(name ? name : "")) {}

TResourceId::TResourceId(const std::string& name) {
  if (AllDigits(name, 0)) {
    FKey = "#" + std::to_string(std::stol(name));
    FNumeric = true;
  } else if (!name.empty() && name[0] == '#' && AllDigits(name, 1)) {
    FKey = "#" + std::to_string(std::stol(name.substr(1)));
    FNumeric = true;
  } else {
    FKey = Upper(name);
  }
}

std::optional<TBytesView> FindResourceData(const TResourceId& type, const TResourceId& name) {
  TStore& store = Store();
  std::pair<std::string, std::string> key{CanonicalType(type.Key()), name.Key()};
  std::lock_guard<std::mutex> guard(store.Lock);
  if (auto it = store.Added.find(key); it != store.Added.end()) return TBytesView(*it->second);
  if (auto it = store.Embedded.find(key); it != store.Embedded.end()) return it->second;
  return std::nullopt;
}

TBytesView GetResourceData(const TResourceId& type, const TResourceId& name) {
  if (auto data = FindResourceData(type, name)) return *data;
  throw EResNotFound("Resource " + name.Key() + " not found");
}

void RegisterResource(const TResourceId& type, const TResourceId& name, TBytesView data) {
  TStore& store = Store();
  std::lock_guard<std::mutex> guard(store.Lock);
  store.Added[{CanonicalType(type.Key()), name.Key()}] = std::make_unique<TByteBuffer>(data.begin(), data.end());
}

void UnregisterResource(const TResourceId& type, const TResourceId& name) {
  TStore& store = Store();
  std::lock_guard<std::mutex> guard(store.Lock);
  store.Added.erase({CanonicalType(type.Key()), name.Key()});
}
