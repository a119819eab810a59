#include "deps/resolve.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "project/mdl_trim.h"

namespace deps {

namespace {

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::string Lower(std::string_view text) {
  return mdlTrim::LowerAscii(text);
}

bool Holds(const std::optional<platform::TypeLibIdentity>& identity, const Dependency& dependency) {
  return identity && mdlTrim::EqualsIgnoringCase(identity->guid, dependency.guid) &&
         identity->major == dependency.version->major && identity->minor >= dependency.version->minor;
}

std::string IdentityText(const platform::TypeLibIdentity& identity) {
  return identity.guid + " " + VersionText({identity.major, identity.minor});
}

// What a file read as a library turned out to hold, for the texts.
std::string Holding(const platform::LibraryFile& file) {
  if (file.identity) return "holds " + IdentityText(*file.identity);
  return "holds no type library that can be read (" + file.problem + ")";
}

const char* Where(const platform::TypeLibRegistration& registration) {
  return registration.user ? "the user's classes" : "the machine's classes";
}

// The registration a 32-bit program's loader takes: the asked version, else the greatest minor above it of
// the same major; the asked LCID, else its primary language, else 0; a win32 entry. The user's classes
// come before the machine's.
const platform::TypeLibRegistration* Choose(const std::vector<platform::TypeLibRegistration>& registrations,
                                            Version version, uint32_t lcid) {
  const auto lcidRank = [lcid](uint32_t candidate) {
    if (candidate == lcid) return 0;
    if (candidate == (lcid & 0x3FF)) return 1;
    if (candidate == 0) return 2;
    return 3;
  };
  const platform::TypeLibRegistration* best = nullptr;
  const auto better = [&](const platform::TypeLibRegistration& a, const platform::TypeLibRegistration& b) {
    const bool aExact = a.minor == version.minor;
    const bool bExact = b.minor == version.minor;
    if (aExact != bExact) return aExact;
    if (a.minor != b.minor) return a.minor > b.minor;
    if (lcidRank(a.lcid) != lcidRank(b.lcid)) return lcidRank(a.lcid) < lcidRank(b.lcid);
    return a.user && !b.user;
  };
  for (const auto& registration : registrations) {
    if (!registration.win32 || registration.major != version.major || registration.minor < version.minor ||
        lcidRank(registration.lcid) > 2) {
      continue;
    }
    if (best == nullptr || better(registration, *best)) best = &registration;
  }
  return best;
}

class Resolver {
 public:
  explicit Resolver(const ResolveInput& input) : input_(input) {}

  void KnowProjectObjects(const std::vector<Dependency>& dependencies) {
    for (const auto& dependency : dependencies) {
      if (dependency.kind == Kind::Object && !dependency.guid.empty())
        projectObjects_.insert(Lower(dependency.guid));
    }
  }

  Resolution One(const Dependency& dependency) {
    switch (dependency.kind) {
      case Kind::ProjectReference:
      case Kind::ResourceFile:
      case Kind::RelatedDocument:
      case Kind::CompatibilityFile:
        return File(dependency);
      default:
        return Library(dependency);
    }
  }

 private:
  Resolution File(const Dependency& dependency) {
    const std::string full = FullPath(input_.model, dependency.name);
    const auto file = input_.files.Look(full, false);
    if (file.exists) return {Status::Found, Quoted(dependency.name) + " is there", file.shown, std::nullopt};
    return {Status::Missing, Quoted(dependency.name) + " is missing (looked for " + Quoted(full) + ")",
            std::nullopt, std::nullopt};
  }

  Resolution Library(const Dependency& dependency) {
    if (dependency.malformed) {
      const char* const kind = dependency.kind == Kind::Reference ? "the reference" : "the control";
      return {Status::Missing,
              std::string("the line does not read as ") + kind + "'s form, so nothing can load it",
              std::nullopt, std::nullopt};
    }
    if (IsOcxReference(dependency)) {
      return {
          Status::OcxAsReference,
          Quoted(dependency.name) +
              " is a control, named as a reference: the development environment stops loading the project; "
              "name it in an Object= line instead",
          std::nullopt, std::nullopt};
    }
    if (dependency.kind == Kind::ComponentObject && !dependency.guid.empty() &&
        !projectObjects_.contains(Lower(dependency.guid))) {
      return {Status::ObjectNotInProject,
              "the control " + dependency.guid + " (" + Quoted(dependency.name) +
                  ") is used here but the project file has no Object= line for it",
              std::nullopt, std::nullopt};
    }
    if (dependency.guid.empty()) {
      return {Status::Unchecked,
              "the ProgID " + Quoted(dependency.description) + " names no type library; " +
                  Quoted(dependency.name) + " is not looked up",
              std::nullopt, std::nullopt};
    }
    const std::string what = dependency.guid + " " + VersionText(*dependency.version);
    // A reference's path is a hint to the file; a control's file is a bare name, matched against the
    // registered file's name only.
    std::optional<platform::LibraryFile> hint;  // whether it exists; its library is read only when asked
    std::optional<platform::LibraryFile> hintLibrary;
    std::string hintPath;
    uint32_t hintIndex = 0;
    if (dependency.kind == Kind::Reference && !dependency.name.empty()) {
      const auto [path, index] = WithoutResourceIndex(dependency.name);
      hintPath = FullPath(input_.model, path);
      hintIndex = index;
      hint = input_.files.Look(hintPath, false);
    }
    const auto hintRead = [&]() -> const platform::LibraryFile& {
      if (!hintLibrary) hintLibrary = input_.files.Look(hintPath, true, hintIndex);
      return *hintLibrary;
    };
    const auto hintHolds = [&]() { return hint && hint->exists && Holds(hintRead().identity, dependency); };
    const auto hintShown = [&]() { return hint && hint->exists ? std::optional(hint->shown) : std::nullopt; };

    if (input_.registry == nullptr) {
      std::string text = input_.noRegistry + "; " + what;
      if (hint && hint->exists) {
        text += ": the file " + Quoted(dependency.name) + " " + Holding(hintRead());
      } else if (hint) {
        text += ": the file " + Quoted(dependency.name) + " is not there either";
      }
      return {Status::Unchecked, text, hintShown(), std::nullopt};
    }
    const auto& registrations = Registrations(dependency.guid);
    if (const auto* chosen = Choose(registrations, *dependency.version, dependency.lcid.value_or(0))) {
      const std::string version = VersionText({chosen->major, chosen->minor});
      const auto [path, index] = WithoutResourceIndex(*chosen->win32);
      const auto file = input_.files.Look(path, true, index);
      const std::string registered =
          what + " is registered in " + Where(*chosen) + " as " + version + " at " + Quoted(*chosen->win32);
      if (!file.exists) {
        if (hintHolds()) {
          return {Status::NotRegistered,
                  registered +
                      ", which is missing; the file the line names holds the library but is not the one "
                      "registered: register it",
                  hintShown(), version};
        }
        return {Status::Missing, registered + ", which is missing", std::nullopt, version};
      }
      if (!Holds(file.identity, dependency)) {
        return {Status::FileMismatch, registered + ", but that file " + Holding(file), file.shown, version};
      }
      if (chosen->minor > dependency.version->minor) {
        return {Status::FoundNewer,
                registered + ": it loads, and the development environment writes " + version +
                    " on its next save",
                file.shown, version};
      }
      const bool named = dependency.kind == Kind::Reference
                             ? hint && hint->exists && hint->shown == file.shown
                             : Lower(dependency.name) == Lower(mdlTrim::TextAfterLast(path, '\\'));
      if (named) return {Status::Found, registered, file.shown, version};
      return {Status::StaleHint,
              registered + ", not at " + Quoted(dependency.name) +
                  ": it loads, and the development environment writes the registered path on its next save",
              file.shown, version};
    }
    const auto sameMajor = [&](const platform::TypeLibRegistration& r) {
      return r.major == dependency.version->major && r.minor >= dependency.version->minor;
    };
    if (std::any_of(registrations.begin(), registrations.end(),
                    [&](const auto& r) { return sameMajor(r) && r.win64 && !r.win32; })) {
      return {Status::SixtyFourBitOnly,
              what +
                  " is registered for 64-bit programs only, which the development environment (a 32-bit "
                  "program) does not see; register the 32-bit library",
              hintShown(), std::nullopt};
    }
    if (hintHolds()) {
      return {Status::NotRegistered,
              what + " is not registered in " + input_.registry->Source() + ", but " +
                  Quoted(dependency.name) + " holds it: register it",
              hintShown(), std::nullopt};
    }
    // Another major, or a lower minor; the asked version under another LCID is not another version.
    const auto otherVersion = [&](const platform::TypeLibRegistration& r) {
      return r.major != dependency.version->major || r.minor < dependency.version->minor;
    };
    if (std::any_of(registrations.begin(), registrations.end(), otherVersion)) {
      const auto highest =
          std::max_element(registrations.begin(), registrations.end(), [](const auto& a, const auto& b) {
            return std::pair(a.major, a.minor) < std::pair(b.major, b.minor);
          });
      const std::string version = VersionText({highest->major, highest->minor});
      return {Status::VersionMissing,
              what + " is not registered; " + version + " is, which the project does not load: install " +
                  VersionText(*dependency.version) + " or choose the reference again",
              std::nullopt, version};
    }
    if (hint && hint->exists && hintRead().identity) {
      return {Status::FileMismatch,
              what + " is not registered, and " + Quoted(dependency.name) + " " + Holding(hintRead()),
              hintShown(), std::nullopt};
    }
    std::string text = what + " is not registered in " + input_.registry->Source();
    if (hint && hint->exists) {
      text += ", and " + Quoted(dependency.name) + " " + Holding(hintRead());
    } else if (hint) {
      text += ", and " + Quoted(dependency.name) + " is not there";
    }
    return {Status::Missing, text, std::nullopt, std::nullopt};
  }

  // A form's controls name the GUIDs of the project's Object= lines again: the registry is asked once
  // for each.
  const std::vector<platform::TypeLibRegistration>& Registrations(const std::string& guid) {
    auto known = registrations_.find(guid);
    if (known == registrations_.end())
      known = registrations_.emplace(guid, input_.registry->Registrations(guid)).first;
    return known->second;
  }

  const ResolveInput& input_;
  std::unordered_set<std::string> projectObjects_;
  std::unordered_map<std::string, std::vector<platform::TypeLibRegistration>> registrations_;
};

}  // namespace

std::string_view StatusName(Status status) {
  switch (status) {
    case Status::Found:
      return "found";
    case Status::FoundNewer:
      return "found-newer";
    case Status::StaleHint:
      return "stale-hint";
    case Status::NotRegistered:
      return "not-registered";
    case Status::VersionMissing:
      return "version-missing";
    case Status::FileMismatch:
      return "file-mismatch";
    case Status::SixtyFourBitOnly:
      return "64-bit-only";
    case Status::Missing:
      return "missing";
    case Status::Unchecked:
      return "unchecked";
    case Status::OcxAsReference:
      return "ocx-as-reference";
    case Status::ObjectNotInProject:
      return "object-not-in-project";
    case Status::Member:
      return "member";
  }
  return "missing";
}

bool Loads(Status status) {
  return status == Status::Found || status == Status::FoundNewer || status == Status::StaleHint ||
         status == Status::Unchecked || status == Status::Member;
}

std::pair<std::string, uint32_t> WithoutResourceIndex(std::string_view path) {
  const auto cut = path.find_last_of('\\');
  if (cut == std::string_view::npos || cut + 1 == path.size() || path.size() - cut > 6)
    return {std::string(path), 0};
  const std::string_view last = path.substr(cut + 1);
  if (!std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return {std::string(path), 0};
  }
  return {std::string(path.substr(0, cut)), static_cast<uint32_t>(std::stoul(std::string(last)))};
}

bool IsOcxReference(const Dependency& dependency) {
  if (dependency.kind != Kind::Reference) return false;
  const std::string path = WithoutResourceIndex(dependency.name).first;
  return path.size() >= 4 &&
         mdlTrim::EqualsIgnoringCase(std::string_view(path).substr(path.size() - 4), ".ocx");
}

std::vector<Resolution> Resolve(const std::vector<Dependency>& dependencies, const ResolveInput& input) {
  Resolver resolver(input);
  resolver.KnowProjectObjects(dependencies);
  std::vector<Resolution> out;
  out.reserve(dependencies.size());
  for (const auto& dependency : dependencies) out.push_back(resolver.One(dependency));
  return out;
}

}  // namespace deps
