// Drag, resize and scale for the items of the editor page.
//
// SET_DHTML(CURSOR_HAND, RESIZABLE, 'name', 'name'+SCALABLE, 'name'+NO_DRAG, ...) makes the
// named elements (a div by id, or a picture by name) movable with the mouse and resizable
// with the handle that appears at their lower right corner. SCALABLE keeps the aspect ratio
// while resizing; NO_DRAG registers an element without making it movable. dd.elements lists
// every registered element with its page position x, y, size w, h, stacking order z and name,
// kept current as the user works. A picture moves with the div that holds it, so that div's
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
    handCursor: false,
    refresh: function () {
        for (var i = 0; i < dd.elements.length; i++) {
            ddMeasure(dd.elements[i]);
        }
    }
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

function ddMeasure(record) {
    var box = record.element.getBoundingClientRect();
    // Whole pixels as the page counts them: a centred container may start half-way.
    record.x = Math.floor(box.left + window.pageXOffset);
    record.y = Math.floor(box.top + window.pageYOffset);
    record.w = Math.round(box.width);
    record.h = Math.round(box.height);
}

function ddRegister(argument) {
    var parts = String(argument).split('\u0001');
    var name = parts[0];
    var element = ddFind(name);
    if (!element) {
        return;
    }
    var record = {
        name: name,
        element: element,
        mover: ddMover(element),
        scalable: parts.indexOf('scalable') > 0,
        draggable: parts.indexOf('no-drag') < 0,
        x: 0, y: 0, w: 0, h: 0, z: 0
    };
    var z = parseInt(window.getComputedStyle(record.mover).zIndex, 10);
    record.z = isNaN(z) ? 0 : z;
    dd.maxZ = Math.max(dd.maxZ, record.z);
    ddMeasure(record);
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
    dd.refresh();
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
    ddMeasure(record);
    ddHandleOwner = record;
    ddHandle.style.left = (record.x + record.w - 6) + 'px';
    ddHandle.style.top = (record.y + record.h - 6) + 'px';
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
    ddMeasure(record);
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
    ddMeasure(record);
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
    dd.refresh();
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
    dd.refresh();
    if (moved) {
        ddTellMoved();
    }
}

// The program keeps the page's design for recovery a little after each move.
function ddTellMoved() {
    if (typeof hostNavigate === 'function') {
        hostNavigate('http://itemmoved');
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

function ddKey(event) {
    var key = event.key;
    if (event.ctrlKey && !event.altKey) {
        var lower = key.toLowerCase();
        if (lower === 'z' && !event.shiftKey) {
            event.preventDefault();
            ddCommand('http://undo');
        } else if (lower === 'y' || (lower === 'z' && event.shiftKey)) {
            event.preventDefault();
            ddCommand('http://redo');
        }
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
    dd.refresh();
    ddTellMoved();
}

document.addEventListener('mousedown', ddStartMove, false);
document.addEventListener('mousemove', ddMove, false);
document.addEventListener('mouseup', ddEnd, false);
document.addEventListener('keydown', ddKey, false);
