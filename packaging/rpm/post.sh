# Applies the udev rule for /dev/uinput and loads the module now instead of at the next boot;
# without udevd or module loading (containers, image builds) the next boot does it.
if [ -S /run/udev/control ] && command -v udevadm >/dev/null 2>&1; then
    udevadm control --reload || :
fi
if [ -d /sys/module ] && [ ! -d /sys/module/uinput ] && command -v modprobe >/dev/null 2>&1; then
    modprobe uinput >/dev/null 2>&1 || :
fi
if [ -S /run/udev/control ] && command -v udevadm >/dev/null 2>&1; then
    udevadm trigger --subsystem-match=misc --sysname-match=uinput --action=change || :
fi
exit 0
