#include "server/class_objects_com.h"

#include <array>
#include <mutex>

#include "release/release_script_com.h"
#include "setup/setup_script_com.h"
#include "server/class_factory_com.h"
#include "server/class_table.h"

namespace quorlex {
namespace {

// Beside the class table, in its order.
constexpr std::array<InstanceCreator, classTable.size()> creators{createReleaseScriptObject, createSetupScriptObject};

struct ClassObjectCache {
  std::mutex lock;
  std::array<com_ptr<ClassFactory>, classTable.size()> objects;
};

ClassObjectCache& cache() {
  static ClassObjectCache instance;
  return instance;
}

bool sameClass(REFCLSID classId, std::u16string_view text) {
  CLSID parsed{};
  std::wstring id(text.begin(), text.end());
  return SUCCEEDED(IIDFromString(id.c_str(), &parsed)) && IsEqualCLSID(parsed, classId);
}

}  // namespace

HRESULT getClassObject(REFCLSID classId, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (std::size_t index = 0; index < classTable.size(); ++index) {
    if (!sameClass(classId, classTable[index].classId)) continue;
    if (!creators[index]) return CLASS_E_CLASSNOTAVAILABLE;
    com_ptr<ClassFactory> object;
    {
      ClassObjectCache& objects = cache();
      std::lock_guard guard(objects.lock);
      if (!objects.objects[index]) {
        HRESULT code = ClassFactory::create(creators[index], objects.objects[index]);
        if (FAILED(code)) return code;
      }
      object = objects.objects[index];
    }
    return object->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace quorlex
