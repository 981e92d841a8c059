# shellcheck shell=bash
# Real FAT32 and exFAT volumes for the tests of what such a stick can hold,
# mounted through FUSE (this kernel may have no vfat module) from image files
# of their own. Sourced by scripts/test; mounting needs root.

test_volumes_dir=''
test_volumes_loop=''

# test_volumes_mount: mounts both and exports TAVRELON_FAT32_FS and
# TAVRELON_EXFAT_FS; a volume that cannot be mounted is left out (its tests
# say they were skipped).
test_volumes_mount() {
  [ "$(id -u)" -eq 0 ] || return 0
  test_volumes_dir=$(mktemp -d)
  local dir=$test_volumes_dir
  mkdir "$dir/fat32" "$dir/exfat"
  if truncate -s 64M "$dir/fat32.img" && mkfs.vfat -F 32 "$dir/fat32.img" >/dev/null 2>&1 &&
     fusefat -o rw+ "$dir/fat32.img" "$dir/fat32" >/dev/null 2>&1; then
    export TAVRELON_FAT32_FS=$dir/fat32
  else
    echo "Note: no FAT32 volume for the tests (fusefat could not mount one)"
  fi
  if truncate -s 64M "$dir/exfat.img" && mkfs.exfat "$dir/exfat.img" >/dev/null 2>&1 &&
     test_volumes_loop=$(losetup -f --show "$dir/exfat.img" 2>/dev/null) &&
     mount.exfat-fuse "$test_volumes_loop" "$dir/exfat" >/dev/null 2>&1; then
    export TAVRELON_EXFAT_FS=$dir/exfat
  else
    echo "Note: no exFAT volume for the tests (exfat-fuse could not mount one)"
  fi
}

# test_volumes_empty: removes what a suite run left on them.
test_volumes_empty() {
  local volume
  for volume in "${TAVRELON_FAT32_FS:-}" "${TAVRELON_EXFAT_FS:-}"; do
    if [ -n "$volume" ]; then find "$volume" -mindepth 1 -delete 2>/dev/null || true; fi
  done
}

test_volumes_unmount() {
  [ -n "$test_volumes_dir" ] || return 0
  local point
  for point in "$test_volumes_dir/fat32" "$test_volumes_dir/exfat"; do
    if mountpoint -q "$point"; then umount "$point" 2>/dev/null || umount -l "$point" 2>/dev/null || true; fi
  done
  if [ -n "$test_volumes_loop" ]; then losetup -d "$test_volumes_loop" 2>/dev/null || true; fi
  rm -rf "$test_volumes_dir"
}
