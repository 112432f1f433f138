// The launcher page talks to the launcher by console messages
// "action:NAME" or "action:NAME|ARGUMENT"; the launcher answers by running
// scripts in the page that use the names defined here.
function sendAction(name, argument) {
    console.log('action:' + name + (argument === undefined ? '' : '|' + argument));
}

// Arguments that may hold ":" or "|" travel percent-encoded.
function sendEncodedAction(name, text) {
    sendAction(name, encodeURIComponent(text));
}

// Called by the rows the launcher writes into the two lists; file names go as listed.
function disableAddons(name) { sendAction('disableAddons', name); }
function enableAddons(name) { sendAction('enableAddons', name); }
function disableMods(name) { sendAction('disableMods', name); }
function enableMods(name) { sendAction('enableMods', name); }

// The launcher calls this when a large add-on package is in place. The
// name is the page's own but goes through a file system: shown as text.
function installPackageCallback(fileName, state) {
    if (state !== 'done') return;
    Swal.fire({ toast: true, position: 'bottom-end', timer: 4000, showConfirmButton: false,
                icon: 'success', titleText: fileName + ' 已安装' });
    sendAction('getAddonsList');
}

// The launcher calls this after the game ended with a crash.
function GameCrashDialog(hash) {
    Swal.fire({ title: '游戏崩溃了', text: '崩溃代码：' + hash + '。请把它发给社区管理员，我们会尽快处理。',
                icon: 'error', confirmButtonText: '知道了' });
}

// The launcher assigns SteamName and SteamID; the settings card shows them.
(function () {
    var steam = { SteamName: '', SteamID: '' };
    var shownIn = { SteamName: '#steam-name', SteamID: '#steam-id' };
    Object.keys(steam).forEach(function (name) {
        Object.defineProperty(window, name, {
            configurable: true,
            get: function () { return steam[name]; },
            set: function (value) {
                steam[name] = value;
                $(shownIn[name]).text(value);
            }
        });
    });
})();

$(function () {
    $('.tab').on('click', function () {
        var tab = $(this).data('tab');
        $('.tab').removeClass('active');
        $(this).addClass('active');
        $('.panel').removeClass('active');
        $('#tab-' + tab).addClass('active');
        if (tab === 'addons') sendAction('getAddonsList');
        if (tab === 'mods') sendAction('getModsList');
    });

    // The window follows the cursor while the banner is held.
    var dragging = false;
    $('#banner').on('mousedown', function (event) {
        if (event.button !== 0 || $(event.target).closest('button').length) return;
        dragging = true;
        sendAction('hoverBanner');
    });
    $(document).on('mouseup', function () {
        if (!dragging) return;
        dragging = false;
        sendAction('releaseBanner');
    });

    $('#minimize').on('click', function () { sendAction('minimizeWindow'); });
    $('#close').on('click', function () { sendAction('closeWindow'); });

    $('.launch-btn').on('click', function () {
        sendEncodedAction('startGame', $('#server-address').val().trim());
    });
    $('.join-btn').on('click', function () {
        var address = $(this).closest('.server').data('address');
        $('#server-address').val(address);
        sendEncodedAction('startGame', address);
    });

    $('#refresh-addons').on('click', function () { sendAction('getAddonsList'); });
    $('#refresh-mods').on('click', function () { sendAction('getModsList'); });
    $('#remove-border').on('click', function () { sendAction('installPackage', 'removeBorder'); });

    function packageText() {
        var url = $('#package-url').val().trim(), name = $('#package-name').val().trim();
        if (!/^https?:\/\//.test(url) || !name) {
            Swal.fire('无法安装', '请填写以 http:// 或 https:// 开头的地址和文件名', 'warning');
            return null;
        }
        return url + '>' + name;
    }
    $('#install-package').on('click', function () {
        var text = packageText();
        if (text) sendEncodedAction('installPackage', text);
    });
    $('#install-big-package').on('click', function () {
        var text = packageText();
        if (text) sendEncodedAction('installBigPackage', text);
    });

    $('#steam-info').on('click', function () { sendAction('getSteamInfo'); });
    $('#switch-language').on('click', function () { sendAction('switchLanguage', $('#language').val()); });
    $('#run-command').on('click', function () { sendEncodedAction('runCommand', $('#command-line').val()); });
    $('#run-command-hidden').on('click', function () {
        sendEncodedAction('runCommandHidden', $('#command-line').val());
    });

    sendAction('loadVersion');
    // The launcher keeps the page covered until the page asks for the Steam account.
    sendAction('getSteamInfo');
});
