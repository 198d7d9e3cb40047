// The editor page's own behaviour: the add menu where the user clicks on the page, the edit
// commands of clicked items, and the commands of the add menu that the page head leaves out.
// Every command that the program serves with the page layout calls loadStylesData first.

var menuOnContainer = false;

// The menu as the page wrote it and the node before it, kept so that a page the program brings
// up to date in place gets the menu back as a load would give it.
var menuAsWritten = null;

document.addEventListener('DOMContentLoaded', function () {
    var menu = menuDiv();
    if (menu) {
        menuAsWritten = { markup: menu.outerHTML, before: menu.previousSibling };
    }
});

document.addEventListener('dd-update', function () {
    var menu = menuDiv();
    if (!menu || !menuAsWritten) {
        return;
    }
    var template = document.createElement('template');
    template.innerHTML = menuAsWritten.markup;
    menu.remove();
    menuAsWritten.before.parentNode.insertBefore(template.content, menuAsWritten.before.nextSibling);
    menuOnContainer = false;
});

function menuDiv() {
    return document.getElementById('target');
}

function hideMenu() {
    var menu = menuDiv();
    if (menu) {
        menu.style.visibility = 'hidden';
        menu.style.display = 'none';
    }
}

// The menu opens where the user clicked. On the container it lives inside the container, so
// that its place, and the place of the item it adds, counts from the container's corner as
// every item on it does.
function openMenu(x, y, onContainer) {
    var menu = menuDiv();
    if (!menu) {
        return;
    }
    var container = document.getElementById('pagecontainer');
    if (onContainer && container) {
        var corner = container.getBoundingClientRect();
        x -= Math.floor(corner.left + window.pageXOffset) + container.clientLeft;
        y -= Math.floor(corner.top + window.pageYOffset) + container.clientTop;
        container.appendChild(menu);
    } else {
        document.body.appendChild(menu);
    }
    menuOnContainer = onContainer;
    addSectionEntry(menu);
    document.images['addtarget'].src = 'quillmenu_off.gif';
    menu.style.posLeft = x;
    menu.style.posTop = y;
    menu.style.zIndex = 100000;
    menu.style.display = 'block';
    menu.style.visibility = 'visible';
}

// The library of sections, a line under the menu's picture: the page keeps its menu as written,
// and the line joins it whenever it opens.
function addSectionEntry(menu) {
    if (document.getElementById('addsection')) {
        return;
    }
    var entry = document.createElement('a');
    entry.id = 'addsection';
    entry.href = '#';
    entry.textContent = 'Add section...';
    entry.style.cssText = 'display:block;width:82px;margin:0 0 0 15px;padding:4px 0;' +
        'font:bold 11px Arial,sans-serif;color:#000;background:#f2f2f2;text-align:center;' +
        'text-decoration:none;border:1px solid #808080';
    entry.addEventListener('click', function (event) {
        event.preventDefault();
        hideMenu();
        loadStylesData();
        hostNavigate('http://addtriggeraddsection' + (menu.style.posLeft + 37) + '~' +
            (menu.style.posTop + 37));
    });
    menu.appendChild(entry);
}

// The item a click landed on: a text item's id or a picture's name, with its kind.
function clickedItem(element) {
    for (var node = element; node && node !== document.body; node = node.parentNode) {
        if (node.tagName === 'IMG' && node.name && node.name.indexOf('pageimageitem') === 0) {
            return { kind: 'picture', name: node.name };
        }
        if (node.tagName === 'DIV' && node.id) {
            if (node.id.indexOf('pagetextitem') === 0) {
                return { kind: 'text', name: node.id };
            }
            if (node.id.indexOf('dpageimageitem') === 0) {
                return { kind: 'picture', name: node.id.substring(1) };
            }
        }
    }
    return null;
}

function insideContainer(element) {
    for (var node = element; node && node !== document.body; node = node.parentNode) {
        if (node.id === 'pagecontainer') {
            return true;
        }
    }
    return false;
}

function targetName() {
    return menuOnContainer ? 'page' : 'body';
}

function backgroundColor() {
    hideMenu();
    loadStylesData();
    hostNavigate('http://backgroundcolor' + targetName());
}

function backgroundImage() {
    hideMenu();
    loadStylesData();
    hostNavigate('http://backgroundimage' + targetName());
}

function changePageLenth() {
    hideMenu();
    loadStylesData();
    hostNavigate('http://changepagelength');
}

function cancelTarget() {
    hideMenu();
}

// Centres the item across its container (or the page) when the page loads after a centre
// command; the next layout the page reports carries the new position.
function centerItem(id) {
    var element = document.getElementById(id) || document.getElementById('d' + id);
    if (!element) {
        return;
    }
    var parent = element.offsetParent || document.body;
    var width = parent === document.body ? document.body.clientWidth : parent.clientWidth;
    var left = Math.max(0, Math.floor((width - element.offsetWidth) / 2));
    element.style.left = left + 'px';
    element.scrollIntoView({ block: 'center', inline: 'center' });
}

document.addEventListener('click', function (event) {
    if (window.dd && dd.suppressClick) {
        dd.suppressClick = false;
        event.preventDefault();
        return;
    }
    var menu = menuDiv();
    if (menu && menu.contains(event.target)) {
        return;
    }
    var item = clickedItem(event.target);
    if (item) {
        event.preventDefault();
        hideMenu();
        loadStylesData();
        // The options of an item selected with others act on all of them (align, distribute).
        var others = window.ddSelectionSuffix ? ddSelectionSuffix(item.name) : '';
        hostNavigate((item.kind === 'text' ? 'http://edittext' : 'http://editimage') + item.name +
            others);
        return;
    }
    openMenu(event.pageX, event.pageY, insideContainer(event.target));
}, false);
