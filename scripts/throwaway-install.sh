# shellcheck shell=bash disable=SC2034
# A throw-away copy of a staged installation, for runs of the real program that
# must not touch the user's settings. Source it, then:
#   zt_throwaway_install PROGRAM NAME
# sets `work` (a new folder /tmp/zt-NAME.XXXXXX: root/ holds the copy, config/
# and runtime/ are for XDG_CONFIG_HOME and XDG_RUNTIME_DIR) and `version_folder`
# (the program's folder name inside root/). The caller removes `work`.
zt_throwaway_install() {
  local program="$1" name="$2" stage stage_root item
  stage="$(cd "$(dirname "$program")" && pwd)"
  stage_root="$(dirname "$stage")"
  version_folder="$(basename "$stage")"
  work="$(mktemp -d "/tmp/zt-$name.XXXXXX")"
  mkdir -p "$work/root/language" "$work/root/$version_folder" "$work/config" "$work/runtime"
  chmod 0700 "$work/runtime"
  cp "$stage_root/Version.ini" "$work/root/"
  for item in ZTP958FM language Init PIC StartE.jpg StartC.jpg; do
    if [ -e "$stage/$item" ]; then cp -r "$stage/$item" "$work/root/$version_folder/"; fi
  done
}
