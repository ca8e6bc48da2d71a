// The registry of the program's resources.
#include "platform/user/resources.h"

#include <cstdlib>
#include <strings.h>
#include <vector>

#include "platform/api/user.h"

namespace vorn::user {

namespace {

struct Registry {
  std::vector<const DialogTemplate*> dialogs;
  std::vector<const IconResource*> icons;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The name as the API gives it, reduced to a text or an id.
ResourceName Parse(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return {nullptr, static_cast<int>(reinterpret_cast<ULONG_PTR>(name))};
  if (name[0] == '#') return {nullptr, std::atoi(name + 1)};
  return {name, 0};
}

bool Matches(const ResourceName& stored, const ResourceName& wanted) {
  if (stored.text == nullptr || wanted.text == nullptr) {
    return stored.text == nullptr && wanted.text == nullptr && stored.id == wanted.id;
  }
  return strcasecmp(stored.text, wanted.text) == 0;
}

template <typename T>
const T* FindIn(const std::vector<const T*>& list, LPCSTR name) {
  if (name == nullptr) return nullptr;
  const ResourceName wanted = Parse(name);
  for (const T* entry : list) {
    if (Matches(entry->name, wanted)) return entry;
  }
  return nullptr;
}

}  // namespace

bool RegisterResources(const ResourceSet& set) {
  Registry& registry = TheRegistry();
  for (std::size_t i = 0; i < set.dialogCount; ++i) registry.dialogs.push_back(&set.dialogs[i]);
  for (std::size_t i = 0; i < set.iconCount; ++i) registry.icons.push_back(&set.icons[i]);
  return true;
}

const DialogTemplate* FindDialogTemplate(LPCSTR name) { return FindIn(TheRegistry().dialogs, name); }

const IconResource* FindIcon(LPCSTR name) { return FindIn(TheRegistry().icons, name); }

std::string ResourceNameText(const ResourceName& name) {
  return name.text != nullptr ? std::string(name.text) : std::to_string(name.id);
}

}  // namespace vorn::user
