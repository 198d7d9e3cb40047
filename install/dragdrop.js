// Drag, resize and scale for the items of the editor page.
//
// SET_DHTML(CURSOR_HAND, RESIZABLE, 'name', 'name'+SCALABLE, 'name'+NO_DRAG, ...) makes the
// named elements (a div by id, or a picture by name) movable with the mouse and resizable
// with the handle that appears at their lower right corner. SCALABLE keeps the aspect ratio
// while resizing; NO_DRAG registers an element without making it movable. dd.elements lists
// every registered element with its page position x, y, size w, h, stacking order z and name,
// measured whenever they are read, so that a resized window never hands over old places. A picture moves with the div that holds it, so that div's
// style carries its place; a text item's own style carries its left, top, width and height.
// With a grid picture as the page background, dragged items snap to its spacing.

var CURSOR_HAND = '\u0001cursor-hand';
var RESIZABLE = '\u0001resizable';
var SCALABLE = '\u0001scalable';
var NO_DRAG = '\u0001no-drag';

var dd = {
    elements: [],
    suppressClick: false,
    maxZ: 1,
    resizable: false,
    handCursor: false
};

var ddGridSpacings = { 'grid1.gif': 10, 'grid2.gif': 20, 'grid3.gif': 50 };
var ddAction = null;
var ddHandle = null;
var ddHandleOwner = null;

function ddGridSpacing() {
    var background = document.body ? document.body.getAttribute('background') : null;
    return background && ddGridSpacings[background] ? ddGridSpacings[background] : 0;
}

function ddFind(name) {
    return document.getElementById(name) || document.images[name] ||
        document.getElementsByName(name)[0] || null;
}

// The element that moves: a picture moves with the div around it.
function ddMover(element) {
    var parent = element.parentNode;
    if (element.tagName === 'IMG' && parent && parent.id === 'd' + element.name) {
        return parent;
    }
    return element;
}

// The element's box on the page, in whole pixels.
function ddPageBox(element) {
    var box = element.getBoundingClientRect();
    return {
        x: box.left + window.pageXOffset,
        y: box.top + window.pageYOffset,
        w: Math.round(box.width),
        h: Math.round(box.height)
    };
}

// How far the page's script places the container's content from where the browser shows it.
// The script takes the content to start at half the spare width (5 pixels when there is
// none) and 30 pixels down; the browser may differ by a few pixels (a narrow window, a scroll
// bar, half a pixel), so positions are counted from the content's real corner and moved to the
// script's, and every item's place relative to the container comes out exact at any width.
function ddScriptShift() {
    var container = document.getElementById('pagecontainer');
    if (!container) {
        return { x: 0, y: 0 };
    }
    var content = ddPageBox(container);
    var left = Math.floor((document.body.clientWidth - parseInt(container.style.width, 10)) / 2);
    return {
        x: (left < 0 ? 5 : left) - (content.x + container.clientLeft),
        y: 30 - (content.y + container.clientTop)
    };
}

// An element as the page's script sees it: x, y, w and h are measured when read.
var ddRecordPrototype = {};
['x', 'y', 'w', 'h'].forEach(function (key) {
    Object.defineProperty(ddRecordPrototype, key, {
        get: function () {
            var box = ddPageBox(this.element);
            if (key === 'w' || key === 'h') {
                return box[key];
            }
            return Math.round(box[key] + ddScriptShift()[key]);
        }
    });
});

function ddRegister(argument) {
    var parts = String(argument).split('\u0001');
    var name = parts[0];
    var element = ddFind(name);
    if (!element) {
        return;
    }
    var record = Object.create(ddRecordPrototype);
    record.name = name;
    record.element = element;
    record.mover = ddMover(element);
    record.scalable = parts.indexOf('scalable') > 0;
    record.draggable = parts.indexOf('no-drag') < 0;
    var z = parseInt(window.getComputedStyle(record.mover).zIndex, 10);
    record.z = isNaN(z) ? 0 : z;
    dd.maxZ = Math.max(dd.maxZ, record.z);
    dd.elements.push(record);
    dd.elements[name] = record;
    if (record.draggable) {
        element.classList.add(dd.handCursor ? 'dd-hand' : 'dd-move');
    }
}

function SET_DHTML() {
    for (var i = 0; i < arguments.length; i++) {
        if (arguments[i] === CURSOR_HAND) {
            dd.handCursor = true;
        } else if (arguments[i] === RESIZABLE) {
            dd.resizable = true;
        }
    }
    for (var j = 0; j < arguments.length; j++) {
        if (String(arguments[j]).charAt(0) !== '\u0001') {
            ddRegister(arguments[j]);
        }
    }
}

// The page reports positions inside the container from its top at 30 pixels and its content
// centred in the window; the margins put it exactly there. A text item's width and height
// include its padding and border, as the finished page expects.
(function () {
    var style = document.createElement('style');
    style.textContent = 'body{margin:14px 4px}' +
        'div[id^="pagetextitem"]{box-sizing:border-box}' +
        '.dd-hand{cursor:pointer}.dd-move{cursor:move}' +
        '#dd-handle{position:absolute;display:none;width:9px;height:9px;' +
        'background:#ffd666;border:1px solid #008000;cursor:nwse-resize;z-index:99999}' +
        '.dd-selected{outline:2px dashed #3070d0;outline-offset:2px}';
    (document.head || document.documentElement).appendChild(style);
})();

function ddRecordOf(node) {
    for (; node && node !== document.body; node = node.parentNode) {
        for (var i = 0; i < dd.elements.length; i++) {
            var record = dd.elements[i];
            if (record.draggable && (record.element === node || record.mover === node)) {
                return record;
            }
        }
    }
    return null;
}

function ddShowHandle(record) {
    if (!dd.resizable) {
        return;
    }
    if (!ddHandle) {
        ddHandle = document.createElement('span');
        ddHandle.id = 'dd-handle';
        ddHandle.addEventListener('mousedown', ddStartResize, false);
        document.body.appendChild(ddHandle);
    }
    var box = ddPageBox(record.element);
    ddHandleOwner = record;
    ddHandle.style.left = Math.floor(box.x + box.w - 6) + 'px';
    ddHandle.style.top = Math.floor(box.y + box.h - 6) + 'px';
    ddHandle.style.display = 'block';
}

function ddSnap(value) {
    var spacing = ddGridSpacing();
    return spacing > 0 ? Math.round(value / spacing) * spacing : value;
}

function ddBringToFront(record) {
    dd.maxZ += 1;
    record.z = dd.maxZ;
    record.mover.style.zIndex = record.z;
}

function ddStartMove(event) {
    if (event.button !== 0) {
        return;
    }
    var record = ddRecordOf(event.target);
    if (!record) {
        return;
    }
    event.preventDefault();
    ddSelect(record);
    ddBringToFront(record);
    ddAction = {
        kind: 'move',
        record: record,
        startX: event.pageX,
        startY: event.pageY,
        left: parseInt(record.mover.style.left, 10) || record.mover.offsetLeft,
        top: parseInt(record.mover.style.top, 10) || record.mover.offsetTop,
        pageX: record.x,
        pageY: record.y,
        moved: false
    };
}

function ddStartResize(event) {
    if (event.button !== 0 || !ddHandleOwner) {
        return;
    }
    event.preventDefault();
    event.stopPropagation();
    var record = ddHandleOwner;
    ddAction = {
        kind: 'resize',
        record: record,
        startX: event.pageX,
        startY: event.pageY,
        width: record.w,
        height: record.h,
        moved: false
    };
}

function ddSetSize(record, width, height) {
    var element = record.element;
    if (element.tagName === 'IMG') {
        element.width = width;
        element.height = height;
    } else {
        element.style.width = width + 'px';
        element.style.height = height + 'px';
    }
}

function ddMove(event) {
    if (!ddAction) {
        var hovered = ddRecordOf(event.target);
        if (hovered) {
            ddShowHandle(hovered);
        }
        return;
    }
    var dx = event.pageX - ddAction.startX;
    var dy = event.pageY - ddAction.startY;
    if (Math.abs(dx) + Math.abs(dy) > 2) {
        ddAction.moved = true;
    }
    if (!ddAction.moved) {
        return;
    }
    var record = ddAction.record;
    if (ddAction.kind === 'move') {
        var x = ddSnap(ddAction.pageX + dx);
        var y = ddSnap(ddAction.pageY + dy);
        record.mover.style.left = (ddAction.left + x - ddAction.pageX) + 'px';
        record.mover.style.top = (ddAction.top + y - ddAction.pageY) + 'px';
    } else {
        var width = Math.max(10, ddAction.width + dx);
        var height = Math.max(10, ddAction.height + dy);
        if (record.scalable && ddAction.width > 0) {
            height = Math.max(10, Math.round(width * ddAction.height / ddAction.width));
        }
        ddSetSize(record, width, height);
    }
    ddShowHandle(record);
}

function ddEnd() {
    if (!ddAction) {
        return;
    }
    var moved = ddAction.moved;
    if (moved) {
        dd.suppressClick = true;
        window.setTimeout(function () { dd.suppressClick = false; }, 0);
    }
    ddAction = null;
    if (moved) {
        ddTellMoved();
    }
}

// Each finished move is a step of the program's undo, and kept for recovery soon after: the
// page hands its layout over with the report.
function ddTellMoved() {
    if (typeof hostNavigate === 'function') {
        ddCommand('http://itemmoved');
    }
}

// The item the keyboard works on, outlined; Escape lets it go.
var ddSelected = null;

function ddSelect(record) {
    if (ddSelected) {
        ddSelected.mover.classList.remove('dd-selected');
    }
    ddSelected = record;
    if (record) {
        record.mover.classList.add('dd-selected');
    }
}

// Hands the layout over, then the command: as the page's own commands do.
function ddCommand(address) {
    if (typeof loadStylesData === 'function') {
        loadStylesData();
    }
    hostNavigate(address);
}

// A command of the controls bar, run as its button runs it.
function ddBarCommand(address) {
    var bar = parent && parent.frames ? parent.frames['controls'] : null;
    if (bar && bar.runCommand) {
        bar.runCommand(address);
    }
}

// The window's own keys, for when the page has the keyboard and they do not reach the window.
function ddWindowKey(event) {
    var lower = event.key.toLowerCase();
    var commands = event.ctrlKey && !event.altKey ? {
        z: event.shiftKey ? function () { ddCommand('http://redo'); } :
            function () { ddCommand('http://undo'); },
        y: function () { ddCommand('http://redo'); },
        s: event.shiftKey ? function () { ddBarCommand('http://save_as_page'); } :
            function () { ddBarCommand('http://savepage'); },
        n: function () { hostNavigate('http://keynewpage'); }
    } : {};
    if (event.key === 'F1' && !event.ctrlKey && !event.altKey) {
        commands.f1 = function () { hostNavigate('http://keyhelp'); };
    }
    if (!commands[lower]) {
        return false;
    }
    event.preventDefault();
    commands[lower]();
    return true;
}

function ddKey(event) {
    var key = event.key;
    if (ddWindowKey(event) || event.ctrlKey) {
        return;
    }
    if (!ddSelected) {
        return;
    }
    if (key === 'Escape') {
        ddSelect(null);
        return;
    }
    if (key === 'Delete') {
        event.preventDefault();
        var name = ddSelected.name;
        ddSelect(null);
        ddCommand('http://keydelete' + name);
        return;
    }
    var steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (!steps[key] || !ddSelected.draggable) {
        return;
    }
    event.preventDefault();
    var step = event.shiftKey ? (ddGridSpacing() || 10) : 1;
    var mover = ddSelected.mover;
    mover.style.left = ((parseInt(mover.style.left, 10) || mover.offsetLeft) + steps[key][0] * step) + 'px';
    mover.style.top = ((parseInt(mover.style.top, 10) || mover.offsetTop) + steps[key][1] * step) + 'px';
    ddTellMoved();
}

document.addEventListener('mousedown', ddStartMove, false);
document.addEventListener('mousemove', ddMove, false);
document.addEventListener('mouseup', ddEnd, false);
document.addEventListener('keydown', ddKey, false);
