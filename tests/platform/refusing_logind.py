# SPDX-License-Identifier: GPL-2.0-or-later
# python-dbusmock's logind, but a block of the lid switch is refused, as polkit may refuse
# one to a remote user.
import dbus
from dbusmock.templates.logind import *
from dbusmock.templates import logind

@dbus.service.method(MAIN_IFACE, in_signature='ssss', out_signature='h')
def Inhibit(self, what, who, why, mode):
    if 'handle-lid-switch' in what.split(':'):
        raise dbus.exceptions.DBusException('Access denied',
                                            name='org.freedesktop.DBus.Error.AccessDenied')
    return logind.Inhibit(self, what, who, why, mode)
