#!/usr/bin/env bash
# Proves the README's two commands on a brand-new minimal Debian 12: makes a minbase root with
# debootstrap (cached between runs, unpacked afresh each time), puts a clean copy of the committed
# tree in it and runs ./test.sh and then ./run.sh (headless) inside with a clean environment.
# With --package it then makes the .deb there, installs it into a second new root that never saw
# the build, and uses the installed programs as an ordinary user; last, it removes the package and
# checks that the user's data stayed.
#
# Usage (as root): scripts/check-new-machine.sh [--package] [--reuse BUILD_ROOT]
#   --reuse BUILD_ROOT   skip the new root, ./test.sh and ./run.sh: refresh the committed tree in
#                        the build root a failed run kept and go on from the package step
#   GRANWISE_ROOT_CACHE  where the pristine root is cached (default /var/cache/granwise-check)
#   DEBIAN_MIRROR        the mirror debootstrap and apt use (default http://deb.debian.org/debian)
#   KEEP=1               keep the work folder (its path is printed) for a look afterwards
# Prints the last lines of each step and exits non-zero on the first failure.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
package=0
reuse=
while [ $# -gt 0 ]; do
  case $1 in
    --package) package=1 ;;
    --reuse) reuse=${2:?}; package=1; shift ;;
    *) echo "用法：scripts/check-new-machine.sh [--package] [--reuse BUILD_ROOT]" >&2; exit 2 ;;
  esac
  shift
done
[ "$(id -u)" -eq 0 ] || { echo "需要以 root 运行（debootstrap、chroot 和挂载）。" >&2; exit 2; }

cache=${GRANWISE_ROOT_CACHE:-/var/cache/granwise-check}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
tarball=$cache/bookworm-minbase.tar
work=$(mktemp -d /var/tmp/granwise-check.XXXXXX)
mounted=()

cleanup() {
  local m
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  if [ "${KEEP:-0}" = 1 ]; then echo "保留工作目录：$work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# A run that was killed leaves its folder and its mounts: they are let go, then the folder goes.
for stale in /var/tmp/granwise-check.*; do
  [ "$stale" = "$work" ] || [ ! -d "$stale" ] && continue
  awk -v top="$stale/" 'index($2, top) == 1 { print $2 }' /proc/mounts | sort -r |
    while read -r m; do umount -l "$m" || true; done
  if awk -v top="$stale/" 'index($2, top) == 1 { found = 1 } END { exit !found }' /proc/mounts; then
    echo "无法卸载上次留下的挂载：$stale" >&2
  else
    rm -rf "$stale"
  fi
done

"$repo/scripts/need-packages.sh" debootstrap

if [ ! -f "$tarball" ]; then
  echo "== 新建最小 Debian 12 根目录（缓存于 $tarball）"
  mkdir -p "$cache"
  rm -rf "$cache/root.tmp"
  debootstrap --variant=minbase bookworm "$cache/root.tmp" "$mirror" > "$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log"; exit 1; }
  tar -C "$cache/root.tmp" -cf "$tarball.tmp" .
  mv "$tarball.tmp" "$tarball"
  rm -rf "$cache/root.tmp"
fi

# The kernel's file systems and the host's name service inside a root. The root gets a /dev of
# its own with the few devices a build, apt and Xvfb use, not the host's bound into it: what
# is removed in a bound /dev is removed from the host's.
mount_into() {
  local root=$1 node name major minor
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc" && mounted+=("$root/proc")
  mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
  mount -t tmpfs -o mode=755 tmpfs "$root/dev" && mounted+=("$root/dev")
  for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
    IFS=: read -r name major minor <<< "$node"
    mknod -m 666 "$root/dev/$name" c "$major" "$minor"
  done
  ln -s /proc/self/fd "$root/dev/fd"
  ln -s /proc/self/fd/0 "$root/dev/stdin"
  ln -s /proc/self/fd/1 "$root/dev/stdout"
  ln -s /proc/self/fd/2 "$root/dev/stderr"
  mkdir "$root/dev/pts" "$root/dev/shm"
  mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666 && mounted+=("$root/dev/pts")
  ln -s pts/ptmx "$root/dev/ptmx"
  mount -t tmpfs tmpfs "$root/dev/shm" && mounted+=("$root/dev/shm")
}

# A new root from the cache.
new_root() {
  mkdir -p "$1"
  tar -C "$1" -xf "$tarball"
  mount_into "$1"
}

# Runs a script inside a root with a clean environment; prints its last lines; fails with it.
in_root() {
  local root=$1 title=$2 script=$3 log
  log="$work/$(echo "$title" | tr -c 'a-zA-Z0-9\n' '_').log"
  echo "== $title"
  set +e
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -euo pipefail -c "$script" > "$log" 2>&1
  local rc=$?
  set -e
  tail -25 "$log"
  if [ $rc -ne 0 ]; then
    echo "== 失败：$title（退出码 $rc；完整记录 $log）"
    KEEP=1
    exit $rc
  fi
}

if [ -n "$reuse" ]; then
  build_root=$(cd "$reuse" && pwd)
  mount_into "$build_root"
else
  build_root=$work/build-root
  new_root "$build_root"
fi
mkdir -p "$build_root/src/granwise"
git -C "$repo" archive --format=tar HEAD | tar -x -C "$build_root/src/granwise"
echo "已放入提交的源码：$(git -C "$repo" rev-parse --short HEAD)"

if [ -z "$reuse" ]; then
  in_root "$build_root" "./test.sh" 'cd /src/granwise && ./test.sh'
  in_root "$build_root" "./run.sh（无显示器）" 'cd /src/granwise && ./run.sh && ls out/*.xlsx | wc -l'
fi

if [ $package -eq 1 ]; then
  in_root "$build_root" "scripts/package.sh" 'cd /src/granwise && scripts/package.sh'
  deb=$(ls "$build_root"/src/granwise/dist/granwise_*_amd64.deb | head -1)
  install_root=$work/install-root
  new_root "$install_root"
  cp "$deb" "$install_root/tmp/"
  in_root "$install_root" "安装 $(basename "$deb")" '
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends /tmp/granwise_*_amd64.deb
    if dpkg -l | awk "{print \$2}" | grep -E -- "-dev(:amd64)?$"; then echo "开发包被装入" >&2; exit 1; fi
    test -x /usr/bin/granwise && test -x /usr/bin/granwise-cli
    test -f /usr/share/applications/granwise.desktop
    test -f /usr/share/icons/hicolor/scalable/apps/granwise.svg
    test -d /usr/share/granwise/templet && test -d /usr/share/granwise/help && test -d /usr/share/granwise/samples
    useradd --create-home office'
  in_root "$install_root" "普通用户使用已安装的程序" '
    runuser -u office -- env -i HOME=/home/office PATH=/usr/bin:/bin bash -euo pipefail -c "
      cd ~
      granwise-cli --version
      granwise --version
      granwise-cli init
      granwise-cli where
      test -f ~/.local/share/granwise/ledger.db
      granwise-cli import /usr/share/granwise/samples/*.xlsx
      granwise-cli reports --out out
      ls out | wc -l
      granwise-cli backup ~/备份.bak
      test -s ~/备份.bak
    "'
  in_root "$install_root" "桌面程序在 Xvfb 下启动" '
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xauth > /dev/null
    rc=0
    runuser -u office -- env -i HOME=/home/office PATH=/usr/bin:/bin \
      xvfb-run -a timeout 15 granwise || rc=$?
    # Still running when the time was up: it started and waits for its first account.
    test $rc -eq 124 || { echo "桌面程序没有保持运行（退出码 $rc）" >&2; exit 1; }
    echo "桌面程序已启动"'
  in_root "$install_root" "卸载后用户数据仍在" '
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q granwise
    test ! -e /usr/bin/granwise
    test -f /home/office/.local/share/granwise/ledger.db
    echo "用户数据仍在：/home/office/.local/share/granwise/ledger.db"'
fi
echo "== 全部通过"
