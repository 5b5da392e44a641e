# Lets udev forget the removed rule.
if [ -S /run/udev/control ] && command -v udevadm >/dev/null 2>&1; then
    udevadm control --reload || :
fi
exit 0
